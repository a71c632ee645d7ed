// libFuzzer target: any bytes as an RDS file, scanned and loaded as the Open command does.

#include "core/base/errors.h"
#include "core/io/rds_browser.h"
#include "fuzz/fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The reader reads files, so each input goes through one in memory-backed storage.
const std::string& InputPath()
{
    static const std::string path = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    std::string("/kalvo-rds-fuzz-") + std::to_string(getpid()) +
                                    ".rds";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kalvo;
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    fuzz::TQuietSink sink;
    std::vector<std::unique_ptr<TpreviewObj>> models;
    {
        TRDSbrowser browser(&sink);
        try {
            if (browser.ScanFile(InputPath())) {
                TRDSloadCallbacks callbacks;
                callbacks.CreateModelEntry = [&models](const std::string& name) -> TpreviewObj& {
                    models.push_back(std::make_unique<TpreviewObj>());
                    models.back()->Name = name;
                    return *models.back();
                };
                browser.LoadObjects(callbacks);
            }
        } catch (const TReadError&) {
            // a value that does not convert ends the load; the models so far stay
        }
    }
    if (sink.Count > 1)
        std::abort();
    for (auto& model : models)
        fuzz::CheckModel(*model);
    std::remove(InputPath().c_str());
    return 0;
}
