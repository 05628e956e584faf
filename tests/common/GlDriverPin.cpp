// Under AddressSanitizer the leak report runs after Mesa has unloaded its
// driver, so what the driver keeps for the life of the process shows up
// with no module name and cannot be told from our own leaks. Holding the
// driver loaded lets the suite's suppressions name it.
#if defined(__SANITIZE_ADDRESS__) && defined(__linux__)
#include <dlfcn.h>

namespace {

[[maybe_unused]] void* const kSoftwareDriver =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE);

}  // namespace
#endif
