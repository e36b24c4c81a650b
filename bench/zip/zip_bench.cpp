// Runs one operation of the ZIP component on host paths, for timing against Info-ZIP.
//   zip_bench compress SOURCE ARCHIVE | zip_bench unpack ARCHIVE FOLDER
#include <cstdio>
#include <string>

#include "platform/files/files.h"
#include "platform/zip/zip_component.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zip_bench compress|unpack FROM TO\n");
    return 2;
  }
  std::string mode = argv[1];
  std::string from = platform::files::windows_path(argv[2]);
  std::string to = platform::files::windows_path(argv[3]);
  platform::zip::ZipComponent zip;
  bool ok = mode == "compress" ? zip.compress(from, to) : zip.unpack(from, to);
  return ok ? 0 : 1;
}
