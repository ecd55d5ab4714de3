#include "model/atomicfile.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace pm {

bool writeFileAtomically(const std::string& fileName, std::string_view bytes, bool flush) {
    const std::string tmp = fileName + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, left);
        ok = n > 0;
        if (ok) {
            p += n;
            left -= std::size_t(n);
        }
    }
    if (ok && flush)
        ok = ::fsync(fd) == 0;
    if (::close(fd) != 0)
        ok = false;
    if (!ok || std::rename(tmp.c_str(), fileName.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

} // namespace pm
