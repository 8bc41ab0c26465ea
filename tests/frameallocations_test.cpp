// Heap allocations while the show runs: after the first frame of each scene, a benchmark run on
// the real data set must allocate nothing, frame after frame. malloc, calloc and realloc of this
// process are counted here (operator new allocates through malloc); an allocation belongs to the
// GL driver when the first caller up its stack outside the C and C++ runtimes is the driver's
// code or code it compiled, and to the program otherwise, libraries it calls included.
#include <dlfcn.h>
#include <execinfo.h>
#include <gtest/gtest.h>
#include <link.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/random.h"
#include "offline/offlinerun.h"
#include "platform/messagebox.h"
#include "show/demo.h"

#if defined(__SANITIZE_ADDRESS__)
#define VEXMORO_COUNTS_ALLOCATIONS 0  // the sanitizer owns malloc
#else
#define VEXMORO_COUNTS_ALLOCATIONS 1
#endif

namespace {

std::atomic<bool> armed{false};
std::atomic<int> programAllocations{0};
std::atomic<int> driverAllocations{0};
thread_local bool classifying = false;

const int kDepth = 24;
void* firstProgramStack[kDepth];  // the first offending allocation's callers
int firstProgramDepth = 0;

// Where each loaded object's code lies, taken once all of them are loaded, so that sorting an
// allocation costs no lookup by name.
enum class Owner { Runtime, Driver, Program };
struct Range {
    uintptr_t from, to;
    Owner owner;
};
Range ranges[1024];
int rangeCount = 0;

bool pathHas(const char* path, const char* const* names) {
    for (; *names != nullptr; ++names)
        if (std::strstr(path, *names) != nullptr) return true;
    return false;
}

const char* const kRuntimes[] = {"libc.so", "libstdc++", "libgcc_s", "ld-linux", nullptr};
const char* const kDriver[] = {"libGL",   "libEGL", "libglapi", "libgbm",     "_dri.so",
                               "libLLVM", "libdrm", "libxcb",   "libgallium", nullptr};

int addRanges(dl_phdr_info* info, size_t, void*) {
    const char* path = info->dlpi_name;
    Owner owner = pathHas(path, kRuntimes) ? Owner::Runtime
                  : pathHas(path, kDriver) ? Owner::Driver
                                           : Owner::Program;
    for (int i = 0; i < info->dlpi_phnum && rangeCount < 1024; ++i) {
        const ElfW(Phdr)& header = info->dlpi_phdr[i];
        if (header.p_type != PT_LOAD || (header.p_flags & PF_X) == 0) continue;
        uintptr_t from = info->dlpi_addr + header.p_vaddr;
        ranges[rangeCount++] = {from, from + header.p_memsz, owner};
    }
    return 0;
}

// Code in no loaded object is what the driver compiled at run time.
Owner ownerOf(void* address) {
    uintptr_t at = reinterpret_cast<uintptr_t>(address);
    for (int i = 0; i < rangeCount; ++i)
        if (at >= ranges[i].from && at < ranges[i].to) return ranges[i].owner;
    return Owner::Driver;
}

// The allocator's caller decides, unless it is the runtime (operator new, strdup): then the
// first caller beyond the runtime does. The stack runs from here through the allocator to the
// caller.
Owner ownerOfAllocation(void* caller, void** stack, int& depth) {
    depth = 0;
    Owner owner = ownerOf(caller);
    if (owner != Owner::Runtime) return owner;
    depth = backtrace(stack, kDepth);
    int i = 0;
    while (i < depth && stack[i] != caller) ++i;
    for (++i; i < depth; ++i)
        if ((owner = ownerOf(stack[i])) != Owner::Runtime) return owner;
    return Owner::Program;
}

void noteAllocation(void* caller) {
    if (!armed.load(std::memory_order_relaxed) || classifying) return;
    classifying = true;
    void* stack[kDepth];
    int depth;
    if (ownerOfAllocation(caller, stack, depth) == Owner::Driver) {
        ++driverAllocations;
    } else if (programAllocations++ == 0) {
        if (depth == 0) depth = backtrace(stack, kDepth);
        std::memcpy(firstProgramStack, stack, sizeof stack);
        firstProgramDepth = depth;
    }
    classifying = false;
}

std::string describeFirstProgramStack() {
    std::string text;
    for (int i = 2; i < firstProgramDepth; ++i) {
        Dl_info info{};
        dladdr(firstProgramStack[i], &info);
        char offset[32];
        std::snprintf(offset, sizeof offset, " +0x%lx",
                      static_cast<unsigned long>(static_cast<char*>(firstProgramStack[i]) -
                                                 static_cast<char*>(info.dli_fbase)));
        text += std::string("\n  ") + (info.dli_sname != nullptr ? info.dli_sname : "?") + " in " +
                (info.dli_fname != nullptr ? info.dli_fname : "?") + offset;
    }
    return text;
}

// Arms the count once the first frame of the stretch has been drawn, and passes everything on.
class ArmingHook : public CFrameHook {
public:
    explicit ArmingHook(CFrameHook& run) : inner(run) {}
    float* spectrum(float time) override { return inner.spectrum(time); }
    bool frameDrawn(float time) override {
        bool more = inner.frameDrawn(time);
        if (rangeCount == 0) dl_iterate_phdr(addRanges, nullptr);
        armed = more;
        return more;
    }

private:
    CFrameHook& inner;
};

}  // namespace

#if VEXMORO_COUNTS_ALLOCATIONS
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);

void* malloc(size_t size) {
    void* pointer = __libc_malloc(size);
    noteAllocation(__builtin_return_address(0));
    return pointer;
}

void* calloc(size_t count, size_t size) {
    void* pointer = __libc_calloc(count, size);
    noteAllocation(__builtin_return_address(0));
    return pointer;
}

void* realloc(void* pointer, size_t size) {
    void* moved = __libc_realloc(pointer, size);
    noteAllocation(__builtin_return_address(0));
    return moved;
}
}
#endif

namespace {

// A benchmark run of 200 frames from `start`, as the program makes one.
void runStretch(double start) {
    COptions options;
    options.benchmark = true;
    options.startGiven = options.toGiven = true;
    options.start = static_cast<float>(start);
    options.fpsNumerator = 30;
    options.to = start + 200.0 / 30;
    COfflineRun run(options);
    std::string error;
    ASSERT_TRUE(run.prepare(error)) << error;
    seedRandom(1337);
    CDemo demo(options, &run.ticks());
    ASSERT_TRUE(demo.windowOpened);
    run.attach(demo);
    ArmingHook hook(run);
    demo.frameHook = &hook;
    demo.load();
    run.beginRendering(0);
    demo.run();
    armed = false;
    demo.shutdown();
    FILE* table = std::fopen("/dev/null", "w");
    run.finish(table);
    std::fclose(table);
}

TEST(FrameAllocations, NoneAfterTheFirstFrameOfEachScene) {
    if (!VEXMORO_COUNTS_ALLOCATIONS) GTEST_SKIP() << "the sanitizer's malloc cannot be counted";
    std::filesystem::current_path(std::filesystem::path(VEXMORO_DATA_DIR).parent_path());
    setMessageBoxesHeadless(true);
    void* warm[1];
    backtrace(warm, 1);  // loads the unwinder, which allocates, before anything is counted
    const struct {
        const char* scene;
        double start;
    } kStretches[] = {{"credits", 30},     {"greetings", 72},
                      {"spike room", 110}, {"both glow scenes", 126.4},
                      {"tunnel", 150},     {"end", 197}};
    for (const auto& stretch : kStretches) {
        programAllocations = driverAllocations = 0;
        rangeCount = 0;
        runStretch(stretch.start);
        EXPECT_EQ(programAllocations, 0)
            << stretch.scene << " (the driver made " << driverAllocations
            << "); the first:" << describeFirstProgramStack();
    }
}

}  // namespace
