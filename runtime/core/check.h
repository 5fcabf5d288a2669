#pragma once

#include <string>

namespace rt {

[[noreturn]] void checkFailed(const std::string& message, const char* file, int line);

} // namespace rt

// Misuse of the runtime that would otherwise be undefined behaviour (an index outside a control
// array, a timer laid out without a handler): every build stops with a message naming the control.
#define RT_REQUIRE(condition, message)                                                             \
    ((condition) ? (void)0 : ::rt::checkFailed((message), __FILE__, __LINE__))

// Misuse of the runtime by game code that stays well defined (a caption that is not a number).
// Debug builds stop with a message naming the control; nothing in play can trigger it.
#ifdef NDEBUG
#define RT_CHECK(condition, message) ((void)0)
#else
#define RT_CHECK(condition, message)                                                               \
    ((condition) ? (void)0 : ::rt::checkFailed((message), __FILE__, __LINE__))
#endif
