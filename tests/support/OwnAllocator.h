#pragma once
// MORVANE_OWN_ALLOCATOR is 1 when the program uses the C library's allocator
// (whose figures mallinfo2 reads) and 0 under a sanitizer, which brings its own.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MORVANE_OWN_ALLOCATOR 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define MORVANE_OWN_ALLOCATOR 0
#endif
#endif
#ifndef MORVANE_OWN_ALLOCATOR
#define MORVANE_OWN_ALLOCATOR 1
#endif
