#include "core/formats/recovery_file.h"
#include "platform/recovery_store.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tessra;

namespace {

// The copy the editor writes every minute while there are unsaved changes: a
// full map, every cell a three-digit tile, through a temporary file and a rename.
void BM_WriteRecoveryCopy(benchmark::State& bench) {
    MapGrid map;
    for (int i = 0; i < CellCount; ++i) {
        map.data()[i] = static_cast<std::uint8_t>(100 + i % 156);
    }
    const std::vector<std::string> tilesets{"tiles/world.pcx", "tiles/sprites.png"};
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    for (auto _ : bench) {
        const std::string bytes = WriteRecoveryBytes("/maps/level.tessra", "/maps", tilesets, map);
        const Status written =
            store.Write({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        if (!written) {
            bench.SkipWithError(written.message().c_str());
        }
    }
}
BENCHMARK(BM_WriteRecoveryCopy)->Unit(benchmark::kMillisecond);

} // namespace
