#include "core/formats/recovery_file.h"
#include "platform/recovery_store.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tessra;

namespace {

// The copy the editor writes every minute while there are unsaved changes: a
// full map, every cell a three-digit tile, through a temporary file and a rename.
void BM_WriteRecoveryCopy(benchmark::State& bench) {
    Document document;
    for (int i = 0; i < CellCount; ++i) {
        document.MapData.data()[i] = static_cast<std::uint8_t>(100 + i % 156);
    }
    document.Tilesets = {"tiles/world.pcx", "tiles/sprites.png"};
    document.ProjectFolder = "/maps";
    document.Attributes[5].Hflip = true;
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    for (auto _ : bench) {
        const std::string bytes = WriteRecoveryBytes("/maps/level.tessra", document);
        const Status written =
            store.Write({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        if (!written) {
            bench.SkipWithError(written.message().c_str());
        }
    }
}
BENCHMARK(BM_WriteRecoveryCopy)->Unit(benchmark::kMillisecond);

} // namespace
