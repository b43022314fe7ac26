#pragma once

// Plug-ins are built with hidden visibility. Types that cross module boundaries (thrown
// exceptions, interfaces with virtual calls) keep default visibility so every module sees
// the same type information for them.
#define TAVREL_API __attribute__((visibility("default")))
