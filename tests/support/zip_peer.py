"""Python's zipfile as a peer for the ZIP tests.

  make ARCHIVE ENTRY...   ENTRY is NAMEHEX:FLAG:DATAHEX; FLAG u sets the UTF-8 flag, n leaves it
                          clear as a Windows tool does, x leaves it clear and marks the entry as
                          made on Unix; a name ending in "/" is a folder. Names are raw bytes, so
                          code page 936 names without the flag can be made.
  list ARCHIVE            one line per entry: utf-8 name hex, flag bits, method, size
  extract ARCHIVE FOLDER  zipfile's own extraction
  corrupt ARCHIVE INDEX   flips the first data byte of entry INDEX
"""
import sys
import zipfile


class RawNameInfo(zipfile.ZipInfo):
    def __init__(self, raw_name, utf8_flag, made_on_unix):
        super().__init__(raw_name.decode("latin-1"))
        self.raw_name = raw_name
        self.utf8_flag = utf8_flag
        self.create_system = 3 if made_on_unix else 0

    def _encodeFilenameFlags(self):
        return self.raw_name, self.flag_bits | (0x800 if self.utf8_flag else 0)


def make(archive, entries):
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
        for entry in entries:
            name_hex, flag, data_hex = entry.split(":")
            info = RawNameInfo(bytes.fromhex(name_hex), flag == "u", flag == "x")
            info.compress_type = zipfile.ZIP_STORED
            out.writestr(info, bytes.fromhex(data_hex))


def list_entries(archive):
    with zipfile.ZipFile(archive) as source:
        for info in source.infolist():
            print(info.filename.encode("utf-8").hex(), info.flag_bits, info.compress_type,
                  info.file_size)


def corrupt(archive, index):
    with zipfile.ZipFile(archive) as source:
        info = source.infolist()[index]
    with open(archive, "r+b") as raw:
        raw.seek(info.header_offset + 26)
        name_length = int.from_bytes(raw.read(2), "little")
        extra_length = int.from_bytes(raw.read(2), "little")
        raw.seek(info.header_offset + 30 + name_length + extra_length)
        byte = raw.read(1)[0]
        raw.seek(-1, 1)
        raw.write(bytes([byte ^ 0xFF]))


if __name__ == "__main__":
    command, archive = sys.argv[1], sys.argv[2]
    if command == "make":
        make(archive, sys.argv[3:])
    elif command == "list":
        list_entries(archive)
    elif command == "extract":
        zipfile.ZipFile(archive).extractall(sys.argv[3])
    elif command == "corrupt":
        corrupt(archive, int(sys.argv[3]))
