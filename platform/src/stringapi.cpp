#include <kxplatform/stringapi.h>

namespace {

int FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

}  // namespace

int _strnicmp(const char* a, const char* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const int x = FoldAscii(static_cast<unsigned char>(a[i]));
        const int y = FoldAscii(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

int lstrcmpiA(const char* a, const char* b) {
    return _strnicmp(a, b, static_cast<size_t>(-1));
}
