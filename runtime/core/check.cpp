#include "runtime/core/check.h"

#include <cstdio>
#include <cstdlib>

namespace rt {

void checkFailed(const std::string& message, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: %s\n", file, line, message.c_str());
    std::abort();
}

} // namespace rt
