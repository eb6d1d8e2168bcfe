#include "core/convert/palette_packing.h"
#include "support/refusal.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace tessra;

namespace {

using Sets = std::vector<std::vector<std::uint32_t>>;

std::vector<TileColours> Tiles(const Sets& sets) {
    std::vector<TileColours> tiles;
    for (const auto& colours : sets) {
        tiles.push_back({static_cast<int>(tiles.size()), colours});
    }
    return tiles;
}

// Empty when every sub-palette holds the colours of its tiles within its room.
std::string Overfull(const Sets& sets, const PalettePacking& packing, int room) {
    std::vector<std::set<std::uint32_t>> palettes(static_cast<std::size_t>(packing.palettes));
    std::vector<int> tiles(palettes.size());
    if (packing.palette.size() != sets.size()) {
        return "a sub-palette for " + std::to_string(packing.palette.size()) + " tiles";
    }
    for (std::size_t t = 0; t < sets.size(); ++t) {
        const int p = packing.palette[t];
        if (p < 0 || p >= packing.palettes) {
            return "tile " + std::to_string(t) + " in sub-palette " + std::to_string(p);
        }
        palettes[static_cast<std::size_t>(p)].insert(sets[t].begin(), sets[t].end());
        ++tiles[static_cast<std::size_t>(p)];
    }
    for (std::size_t p = 0; p < palettes.size(); ++p) {
        if (tiles[p] == 0) {
            return "sub-palette " + std::to_string(p) + " unused";
        }
        if (static_cast<int>(palettes[p].size()) > room) {
            return "sub-palette " + std::to_string(p) + " holds " +
                   std::to_string(palettes[p].size());
        }
    }
    return {};
}

// The fewest sub-palettes, by trying every grouping.
int Fewest(const Sets& sets, int room) {
    int best = static_cast<int>(sets.size());
    std::vector<std::set<std::uint32_t>> palettes;
    const auto place = [&](auto& self, std::size_t t) -> void {
        if (static_cast<int>(palettes.size()) >= best) {
            return;
        }
        if (t == sets.size()) {
            best = static_cast<int>(palettes.size());
            return;
        }
        for (std::size_t p = 0; p < palettes.size(); ++p) {
            std::set<std::uint32_t> joined = palettes[p];
            joined.insert(sets[t].begin(), sets[t].end());
            if (static_cast<int>(joined.size()) <= room) {
                std::swap(palettes[p], joined);
                self(self, t + 1);
                std::swap(palettes[p], joined);
            }
        }
        palettes.emplace_back(sets[t].begin(), sets[t].end());
        self(self, t + 1);
        palettes.pop_back();
    };
    place(place, 0);
    return best;
}

// Colours 0-14 and 15-29 and 30-44 fill three 4bpp sub-palettes exactly. First
// fit, taking the largest set first, puts 15-21 beside 0-7 (it fits there) and
// is left needing a fourth sub-palette for 29 and 15.
Sets FillsThreeExactly() {
    const auto range = [](std::uint32_t from, std::uint32_t to) {
        std::vector<std::uint32_t> colours;
        for (std::uint32_t c = from; c <= to; ++c) {
            colours.push_back(c);
        }
        return colours;
    };
    return {range(0, 7),   range(15, 21), range(8, 14), range(22, 28),
            range(30, 36), range(37, 43), {29, 15},     {44}};
}

} // namespace

// Known optima, each reached and proven, over sets that defeat first fit.
TEST(PalettePacking, ReachesKnownOptima) {
    const struct {
        const char* name;
        Sets sets;
        int room, fewest;
    } cases[] = {
        {"three 4bpp sub-palettes filled exactly", FillsThreeExactly(), 15, 3},
        {"first fit takes 4", {{4, 6}, {1, 3}, {2, 6}, {4, 5}, {0, 6}}, 3, 3},
        {"3 fail, first fit takes 5",
         {{1, 4}, {0, 2}, {6, 8}, {6, 7}, {3, 6}, {4, 8}, {5, 8}},
         3,
         4},
        {"copies and subsets", {{1, 2, 3}, {3}, {1, 2, 3}, {2, 1}, {}, {3, 2, 1}}, 3, 1},
        {"no colours", {{}, {}}, 3, 1},
        {"no tiles", {}, 3, 0},
    };
    for (const auto& c : cases) {
        const Result<PalettePacking> packing = PackPalettes(Tiles(c.sets), c.room, 16);
        ASSERT_TRUE(packing.ok()) << c.name << ": " << packing.message();
        EXPECT_EQ(packing.value().palettes, c.fewest) << c.name;
        EXPECT_TRUE(packing.value().fewest) << c.name;
        EXPECT_EQ(Overfull(c.sets, packing.value(), c.room), "") << c.name;
    }
}

// Random tiles of few sets against every grouping; many tiles of many sets
// still get a packing that holds.
TEST(PalettePacking, MatchesEveryGroupingOnRandomTiles) {
    std::mt19937 random(26);
    for (int round = 0; round < 300; ++round) {
        const bool large = round % 150 == 149;
        const int room = large ? 15 : round % 2 ? 3 : 7;
        const int tiles = large ? 256 : 2 + round % 8;
        const int colours = large ? 200 : room * 3;
        Sets sets;
        for (int t = 0; t < tiles; ++t) {
            std::vector<std::uint32_t> set;
            const int size = 1 + static_cast<int>(random() % static_cast<unsigned>(room));
            for (int i = 0; i < size; ++i) {
                set.push_back(random() % static_cast<unsigned>(colours));
            }
            sets.push_back(set);
        }
        const Result<PalettePacking> packing = PackPalettes(Tiles(sets), room, 256);
        ASSERT_TRUE(packing.ok()) << packing.message();
        ASSERT_EQ(Overfull(sets, packing.value(), room), "") << "round " << round;
        if (!large) {
            ASSERT_EQ(packing.value().palettes, Fewest(sets, room)) << "round " << round;
            ASSERT_TRUE(packing.value().fewest);
        }
    }
}

// Sub-palettes are numbered as the tiles first use them; a tile too colourful
// for any, or tiles that need more sub-palettes than there are, are refused,
// naming the tile and the counts.
TEST(PalettePacking, NumbersInTileOrderAndRefusesWhatCannotFit) {
    const Result<PalettePacking> packed = PackPalettes(Tiles({{9}, {1, 2, 3}, {9, 8}}), 3, 4);
    ASSERT_TRUE(packed.ok());
    EXPECT_EQ(packed.value().palette, (std::vector<int>{0, 1, 0}));

    std::vector<TileColours> tiles = Tiles({{1, 2}, {1, 2, 3, 4, 4}});
    tiles[1].tile = 37;
    EXPECT_TRUE(Refused(PackPalettes(tiles, 3, 4),
                        "Tile 37 needs 4 colours besides the backdrop; a sub-palette has "
                        "room for 3."));
    EXPECT_TRUE(Refused(PackPalettes(Tiles(FillsThreeExactly()), 15, 2),
                        "The tiles need 3 sub-palettes; there are 2. Tile 4 is the first in "
                        "sub-palette 3."));
}
