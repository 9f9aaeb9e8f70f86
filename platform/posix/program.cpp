// Starting a program on POSIX: posix_spawn by the explicit path.
#include "platform/program.h"
#include "platform/system.h"

#include <spawn.h>

#include "platform/posix/names.h"

extern char** environ;

namespace platform {

Status StartProgram(const std::string& path, int /*show_state: windows only*/) {
    std::string p = Resolve(path);
    char* argv[] = {const_cast<char*>(p.c_str()), nullptr};
    pid_t pid;
    int err = posix_spawn(&pid, p.c_str(), nullptr, nullptr, argv, environ);
    return err == 0 ? Status::Success() : RefusedErrno(err, p, Step::kStart);
}

Status SystemPrograms::StartProgram(const std::string& path, int show_state) {
    return platform::StartProgram(path, show_state);
}

}  // namespace platform
