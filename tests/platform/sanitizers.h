#pragma once

// AddressSanitizer reserves terabytes of address space, so memory caps are
// left out under it.
#if defined(__SANITIZE_ADDRESS__)
#define TESSRA_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSRA_TEST_ADDRESS_SANITIZER 1
#endif
#endif
