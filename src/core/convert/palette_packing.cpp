#include "core/convert/palette_packing.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <numeric>
#include <optional>
#include <string>

namespace tessra {

namespace {

// The packing in progress: each kept colour set as a row of bits over the
// colours the tiles use, `words` 64-bit words a row.
class ColourRows {
  public:
    ColourRows(std::size_t rows, std::size_t words) : words_(words), bits_(rows * words) {}

    std::uint64_t* Row(std::size_t row) { return bits_.data() + row * words_; }
    const std::uint64_t* Row(std::size_t row) const { return bits_.data() + row * words_; }
    std::size_t Words() const { return words_; }

  private:
    std::size_t words_;
    std::vector<std::uint64_t> bits_;
};

int CountBits(const std::uint64_t* a, std::size_t words) {
    int count = 0;
    for (std::size_t i = 0; i < words; ++i) {
        count += std::popcount(a[i]);
    }
    return count;
}

int UnionCount(const std::uint64_t* a, const std::uint64_t* b, std::size_t words) {
    int count = 0;
    for (std::size_t i = 0; i < words; ++i) {
        count += std::popcount(a[i] | b[i]);
    }
    return count;
}

void AddBits(std::uint64_t* to, const std::uint64_t* from, std::size_t words) {
    for (std::size_t i = 0; i < words; ++i) {
        to[i] |= from[i];
    }
}

// The tiles' distinct colour sets, each set that lies within another left out:
// it goes wherever that one goes, so packing the rest packs them all.
struct Problem {
    int room = 0;
    int colours = 0; // every colour of every tile
    ColourRows sets{0, 1};
    std::vector<int> sizes;
    int Count() const { return static_cast<int>(sizes.size()); }
};

// A sub-palette for each kept set, 0 .. count - 1.
struct Packing {
    std::vector<int> palette;
    int count = 0;
};

// Each set, largest first, goes where it adds the fewest new colours, or to a
// new sub-palette when it fits in none.
Packing FirstFitByOverlap(const Problem& problem) {
    const std::size_t words = problem.sets.Words();
    ColourRows palettes(static_cast<std::size_t>(problem.Count()), words);
    std::vector<int> sizes;
    Packing packing;
    packing.palette.assign(static_cast<std::size_t>(problem.Count()), -1);
    for (int set = 0; set < problem.Count(); ++set) {
        const std::uint64_t* colours = problem.sets.Row(static_cast<std::size_t>(set));
        int chosen = -1;
        int fewestNew = problem.room + 1;
        for (int p = 0; p < packing.count; ++p) {
            const int joined =
                UnionCount(palettes.Row(static_cast<std::size_t>(p)), colours, words);
            if (joined <= problem.room && joined - sizes[static_cast<std::size_t>(p)] < fewestNew) {
                chosen = p;
                fewestNew = joined - sizes[static_cast<std::size_t>(p)];
            }
        }
        if (chosen < 0) {
            chosen = packing.count++;
            sizes.push_back(0);
        }
        std::uint64_t* palette = palettes.Row(static_cast<std::size_t>(chosen));
        AddBits(palette, colours, words);
        sizes[static_cast<std::size_t>(chosen)] = CountBits(palette, words);
        packing.palette[static_cast<std::size_t>(set)] = chosen;
    }
    return packing;
}

// No packing uses fewer sub-palettes than the colours fill, nor fewer than a
// group of sets of which no two fit one sub-palette together.
int LowerBound(const Problem& problem) {
    const int n = problem.Count();
    if (n == 0) {
        return 0;
    }
    const std::size_t words = problem.sets.Words();
    int bound = problem.room > 0 ? (problem.colours + problem.room - 1) / problem.room : 1;
    std::vector<std::vector<bool>> apart(static_cast<std::size_t>(n),
                                         std::vector<bool>(static_cast<std::size_t>(n)));
    std::vector<int> degree(static_cast<std::size_t>(n));
    for (int a = 0; a < n; ++a) {
        for (int b = a + 1; b < n; ++b) {
            const bool conflict =
                UnionCount(problem.sets.Row(static_cast<std::size_t>(a)),
                           problem.sets.Row(static_cast<std::size_t>(b)), words) > problem.room;
            apart[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] = conflict;
            apart[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)] = conflict;
            degree[static_cast<std::size_t>(a)] += conflict;
            degree[static_cast<std::size_t>(b)] += conflict;
        }
    }
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&degree](int a, int b) {
        return degree[static_cast<std::size_t>(a)] > degree[static_cast<std::size_t>(b)];
    });
    std::vector<int> group;
    for (int set : order) {
        if (std::all_of(group.begin(), group.end(), [&](int other) {
                return apart[static_cast<std::size_t>(set)][static_cast<std::size_t>(other)];
            })) {
            group.push_back(set);
        }
    }
    return std::max(bound, static_cast<int>(group.size()));
}

// Depth-first search for a packing into at most k sub-palettes. At each step
// a set that lies within a sub-palette already is put there, which costs
// nothing; otherwise the set with the fewest places left is tried in each,
// the fullest overlap first and one new sub-palette last (the new ones are
// alike). A branch ends when a set fits nowhere or the colours not yet in a
// sub-palette outnumber the room left.
class ExactSearch {
  public:
    ExactSearch(const Problem& problem, long long budget)
        : problem_(problem), words_(problem.sets.Words()), budget_(budget),
          palettes_(static_cast<std::size_t>(problem.Count()), problem.sets.Words()) {}

    // A packing into at most k, or nothing when there is none or the work ran out.
    std::optional<Packing> Find(int k) {
        k_ = k;
        used_ = 0;
        sizes_.assign(static_cast<std::size_t>(k), 0);
        assigned_.assign(static_cast<std::size_t>(problem_.Count()), -1);
        std::fill(palettes_.Row(0), palettes_.Row(0) + k * words_, 0);
        if (!Descend()) {
            return std::nullopt;
        }
        return Packing{assigned_, used_};
    }
    bool RanOut() const { return work_ > budget_; }

  private:
    bool Descend() {
        if (++work_ > budget_) {
            return false;
        }
        std::vector<int> placed; // sets put where they cost nothing, undone on the way back
        const auto fail = [&] {
            for (int set : placed) {
                assigned_[static_cast<std::size_t>(set)] = -1;
            }
            return false;
        };
        int chosen = -1;
        int fewestPlaces = k_ + 1;
        for (int set = 0; set < problem_.Count(); ++set) {
            if (assigned_[static_cast<std::size_t>(set)] >= 0) {
                continue;
            }
            const std::uint64_t* colours = problem_.sets.Row(static_cast<std::size_t>(set));
            int places = used_ < k_ ? 1 : 0;
            int within = -1;
            for (int p = 0; p < used_ && within < 0; ++p) {
                const int joined = UnionCount(Palette(p), colours, words_);
                if (joined == sizes_[static_cast<std::size_t>(p)]) {
                    within = p;
                } else if (joined <= problem_.room) {
                    ++places;
                }
            }
            work_ += used_;
            if (within >= 0) {
                assigned_[static_cast<std::size_t>(set)] = within;
                placed.push_back(set);
            } else if (places == 0) {
                return fail();
            } else if (places < fewestPlaces) {
                chosen = set;
                fewestPlaces = places;
            }
        }
        if (chosen < 0) {
            return true;
        }
        if (UnplacedColours() > RoomLeft()) {
            return fail();
        }
        const std::uint64_t* colours = problem_.sets.Row(static_cast<std::size_t>(chosen));
        std::vector<std::pair<int, int>> tries; // new colours, sub-palette
        for (int p = 0; p < used_; ++p) {
            const int joined = UnionCount(Palette(p), colours, words_);
            if (joined <= problem_.room) {
                tries.emplace_back(joined - sizes_[static_cast<std::size_t>(p)], p);
            }
        }
        std::sort(tries.begin(), tries.end());
        if (used_ < k_) {
            tries.emplace_back(problem_.sizes[static_cast<std::size_t>(chosen)], used_);
        }
        std::vector<std::uint64_t> saved(words_);
        for (const auto& [added, p] : tries) {
            const bool opened = p == used_;
            std::copy(Palette(p), Palette(p) + words_, saved.begin());
            AddBits(Palette(p), colours, words_);
            sizes_[static_cast<std::size_t>(p)] += added;
            assigned_[static_cast<std::size_t>(chosen)] = p;
            used_ += opened;
            if (Descend()) {
                return true;
            }
            used_ -= opened;
            assigned_[static_cast<std::size_t>(chosen)] = -1;
            sizes_[static_cast<std::size_t>(p)] -= added;
            std::copy(saved.begin(), saved.end(), Palette(p));
            if (RanOut()) {
                break;
            }
        }
        return fail();
    }

    std::uint64_t* Palette(int p) { return palettes_.Row(static_cast<std::size_t>(p)); }

    int UnplacedColours() {
        std::vector<std::uint64_t> wanted(words_);
        for (int set = 0; set < problem_.Count(); ++set) {
            if (assigned_[static_cast<std::size_t>(set)] < 0) {
                AddBits(wanted.data(), problem_.sets.Row(static_cast<std::size_t>(set)), words_);
            }
        }
        for (int p = 0; p < used_; ++p) {
            for (std::size_t i = 0; i < words_; ++i) {
                wanted[i] &= ~Palette(p)[i];
            }
        }
        work_ += problem_.Count();
        return CountBits(wanted.data(), words_);
    }

    int RoomLeft() const {
        int room = (k_ - used_) * problem_.room;
        for (int p = 0; p < used_; ++p) {
            room += problem_.room - sizes_[static_cast<std::size_t>(p)];
        }
        return room;
    }

    const Problem& problem_;
    std::size_t words_;
    long long budget_;
    long long work_ = 0;
    int k_ = 0;
    int used_ = 0;
    ColourRows palettes_;
    std::vector<int> sizes_;
    std::vector<int> assigned_;
};

// Enough for any packing of a few dozen sets to run to its end, and a few
// tenths of a second at most for 256 tiles of many sets.
constexpr long long SearchBudget = 4'000'000;

std::string Plural(int count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

} // namespace

Result<PalettePacking> PackPalettes(std::span<const TileColours> tiles, int room, int count) {
    // Every colour by a number of its own, in order of value.
    std::vector<std::uint32_t> all;
    std::vector<std::vector<std::uint32_t>> sets;
    for (const TileColours& tile : tiles) {
        std::vector<std::uint32_t> colours = tile.colours;
        std::sort(colours.begin(), colours.end());
        colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
        if (static_cast<int>(colours.size()) > room) {
            return Error{"Tile " + std::to_string(tile.tile) + " needs " +
                         Plural(static_cast<int>(colours.size()), "colour", "colours") +
                         " besides the backdrop; a sub-palette has room for " +
                         std::to_string(room) + "."};
        }
        all.insert(all.end(), colours.begin(), colours.end());
        sets.push_back(std::move(colours));
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());

    // The kept sets, largest first; every tile stands for the one that holds its colours.
    std::vector<std::size_t> bySize(tiles.size());
    std::iota(bySize.begin(), bySize.end(), std::size_t{0});
    std::stable_sort(bySize.begin(), bySize.end(), [&sets](std::size_t a, std::size_t b) {
        return sets[a].size() > sets[b].size();
    });
    const std::size_t words = std::max<std::size_t>(1, (all.size() + 63) / 64);
    ColourRows tileRows(tiles.size(), words);
    for (std::size_t t = 0; t < tiles.size(); ++t) {
        for (std::uint32_t colour : sets[t]) {
            const auto bit = static_cast<std::size_t>(
                std::lower_bound(all.begin(), all.end(), colour) - all.begin());
            tileRows.Row(t)[bit / 64] |= std::uint64_t{1} << (bit % 64);
        }
    }
    Problem problem;
    problem.room = room;
    problem.colours = static_cast<int>(all.size());
    problem.sets = ColourRows(tiles.size(), words);
    std::vector<int> standsFor(tiles.size());
    for (std::size_t t : bySize) {
        const std::uint64_t* colours = tileRows.Row(t);
        const int size = static_cast<int>(sets[t].size());
        int kept = 0;
        while (kept < problem.Count() &&
               UnionCount(problem.sets.Row(static_cast<std::size_t>(kept)), colours, words) !=
                   problem.sizes[static_cast<std::size_t>(kept)]) {
            ++kept;
        }
        if (kept == problem.Count()) {
            std::copy(colours, colours + words, problem.sets.Row(static_cast<std::size_t>(kept)));
            problem.sizes.push_back(size);
        }
        standsFor[t] = kept;
    }

    Packing best = FirstFitByOverlap(problem);
    const int bound = LowerBound(problem);
    bool fewest = best.count <= bound;
    ExactSearch search(problem, SearchBudget);
    for (int k = bound; k < best.count && !search.RanOut(); ++k) {
        if (std::optional<Packing> found = search.Find(k)) {
            best = std::move(*found);
            fewest = true;
        } else if (!search.RanOut() && k + 1 == best.count) {
            fewest = true; // every smaller count was searched to its end
        }
    }

    // Numbered in the order the tiles first use them.
    PalettePacking packing;
    packing.fewest = fewest;
    packing.palettes = best.count;
    std::vector<int> number(static_cast<std::size_t>(best.count), -1);
    int next = 0;
    for (std::size_t t = 0; t < tiles.size(); ++t) {
        int& p =
            number[static_cast<std::size_t>(best.palette[static_cast<std::size_t>(standsFor[t])])];
        if (p < 0) {
            p = next++;
        }
        packing.palette.push_back(p);
        if (p == count) {
            return Error{"The tiles need " + std::to_string(best.count) + " sub-palettes" +
                         (fewest ? "" : " as packed (fewer may do, but none was found)") +
                         "; there are " + std::to_string(count) + ". Tile " +
                         std::to_string(tiles[t].tile) + " is the first in sub-palette " +
                         std::to_string(count + 1) + "."};
        }
    }
    return packing;
}

} // namespace tessra
