// What every fuzz program and corpus replay sets up before its first input: the parsers stay quiet,
// and the files that parsed replies write go to a home of the program's own, unsynced, since they
// are thrown away.
#include "ScratchHome.h"
#include "base/FileManager.h"
#include "base/Log.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    base::setLogThreshold(base::LogLevel::Off);
    base::FileManager::setSyncsWrites(false);
    useScratchHomeUnlessSet();
    return 0;
}
