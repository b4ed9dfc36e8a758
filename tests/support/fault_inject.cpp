// Injected I/O errors for tests: a shared library that stands in front of the C library's
// read, write, fsync, close and rename (linked into a test program, or LD_PRELOADed into
// tavik-cli). Nothing changes unless the environment says
//
//   TAVIK_FAULT=OP:N:ERROR[:TEXT]
//
// OP is read, write, fsync, close or rename; the N-th call of that kind (from 1, counted only
// on files whose path contains TEXT) fails with ERROR (EIO, ENOSPC, EACCES, EDQUOT, EROFS)
// and so does every later one. The count starts afresh whenever the variable changes.
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

namespace {

struct Fault {
    std::string raw, op, text;
    long nth = 0;
    int err = EIO;
    long count = 0;
    long hits = 0;
};

Fault& Current() {
    static Fault f;
    const char* env = getenv("TAVIK_FAULT");
    const std::string now = env ? env : "";
    if (now != f.raw) {
        f = Fault{};
        f.raw = now;
        std::string parts[4];
        std::size_t k = 0;
        for (char c : now) {
            if (c == ':' && k < 3) ++k;
            else parts[k] += c;
        }
        f.op = parts[0];
        f.nth = atol(parts[1].c_str());
        f.text = parts[3];
        const std::string& e = parts[2];
        f.err = e == "ENOSPC" ? ENOSPC : e == "EACCES" ? EACCES : e == "EDQUOT" ? EDQUOT : e == "EROFS" ? EROFS : EIO;
    }
    return f;
}

std::string PathOf(int fd) {
    char link[64], buf[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

// True when this call is to fail.
bool Hit(const char* op, const std::string& path) {
    Fault& f = Current();
    if (f.op != op || f.nth <= 0) return false;
    if (!f.text.empty() && path.find(f.text) == std::string::npos) return false;
    if (++f.count < f.nth) return false;
    ++f.hits;
    errno = f.err;
    return true;
}

bool Hit(const char* op, int fd) {
    const char* env = getenv("TAVIK_FAULT");
    if (!env || strncmp(env, op, strlen(op)) != 0) return false;  // cheap when not armed
    return Hit(op, PathOf(fd));
}

template <class F>
F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

long tavik_fault_hits() { return Current().hits; }

ssize_t read(int fd, void* buf, size_t n) {
    static auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
    if (Hit("read", fd)) return -1;
    return real(fd, buf, n);
}

ssize_t write(int fd, const void* buf, size_t n) {
    static auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    if (fd > 2 && Hit("write", fd)) return -1;
    return real(fd, buf, n);
}

int fsync(int fd) {
    static auto real = Next<int (*)(int)>("fsync");
    if (Hit("fsync", fd)) return -1;
    return real(fd);
}

int close(int fd) {
    static auto real = Next<int (*)(int)>("close");
    if (Hit("close", fd)) {
        real(fd);  // the descriptor is gone all the same, as after a real failed close
        errno = Current().err;
        return -1;
    }
    return real(fd);
}

int rename(const char* from, const char* to) {
    static auto real = Next<int (*)(const char*, const char*)>("rename");
    const char* env = getenv("TAVIK_FAULT");
    if (env && strncmp(env, "rename", 6) == 0 && Hit("rename", std::string(from) + "\n" + to)) return -1;
    return real(from, to);
}

}  // extern "C"
