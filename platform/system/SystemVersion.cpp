// The system version from uname.
#include "platform/system/SystemVersion.h"

#include <sys/utsname.h>

std::string SystemVersion() {
    struct utsname name {};
    if (::uname(&name) != 0) {
        return "Linux";
    }
    return std::string(name.sysname) + " " + name.release;
}
