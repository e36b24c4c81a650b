#include "platform/shell/shell.h"

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/codepage/codepage.h"

namespace platform::shell {

void open(std::string_view target_gbk) {
  std::string target = codepage::gbk_to_utf8(target_gbk);
  // Fork twice so that the opener belongs to no one here: nothing waits for the browser, and no
  // zombie is left behind when it ends.
  pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) {
    ::setsid();
    if (::fork() == 0) {
      ::execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::_exit(0);
  }
  ::waitpid(child, nullptr, 0);
}

}  // namespace platform::shell
