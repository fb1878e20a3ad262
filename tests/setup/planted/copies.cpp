// A sample for the string-copy check: each line from 7 to 11 holds one
// unbounded copy that the check must report with its file and line; the
// bounded forms after them must pass.
#include <cstdio>
#include <cstring>
void planted(char* out, const char* in, size_t size) {
    strcpy(out, in);
    std::sprintf(out, "%s", in);
    lstrcpyA(out, in);
    wsprintfA(out, "%s", in);
    strcat (out, in);
    std::snprintf(out, size, "%s", in);
    lstrcpynA(out, in, int(size));
    strncat(out, in, size - std::strlen(out) - 1);
    my_strcpy(out, in);
}
