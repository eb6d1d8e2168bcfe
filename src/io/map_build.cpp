#include "io/map_build.h"

#include "core/base/message_text.h"
#include "core/export/make_rules.h"
#include "core/export/map_export.h"
#include "core/model/tileset_paths.h"
#include "io/build_record.h"
#include "io/file_document.h"
#include "io/file_export.h"
#include "io/file_group.h"
#include "io/file_tileset.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>
#include <thread>

namespace tessra {

namespace {

std::span<const std::uint8_t> ByteSpan(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

// The files one output setting writes: two for c.
std::vector<std::string> OutputPaths(const ExportSettings& settings, const std::string& path) {
    if (path.empty()) {
        return {};
    }
    return settings.Format == ExportFormat::C ? CFormatPaths(path) : std::vector{path};
}

// One map of the build, from its profile to its written files.
struct MapJob {
    std::string path;
    const BuiltMap* built = nullptr; // what the last build made of it
    bool fresh = false;              // nothing it was made from or wrote has changed since
    std::string failure;             // the first refusal: the map writes nothing

    ExportSettings settings; // its paths taken from the map's folder
    std::string output;
    std::vector<BuiltFile> inputs; // as they were before they were read
    MapGrid map;
    TileAttributeTable attributes;
    Surface picture;
    ArtInputs art;
    std::optional<ConsoleTiles> tiles; // with a bank: its tiles, as it joined the bank
    std::vector<BuildOutput> outputs;

    std::string bank() const {
        return fresh || settings.Bank.empty() ? (built && fresh ? built->Bank : std::string())
                                              : Normal(settings.Bank);
    }
};

// The maps that name one bank, which join it in the order of their paths.
struct BankJob {
    std::string path;
    std::vector<MapJob*> members;
    std::vector<BuildOutput> outputs;
    std::string note;
};

void Fail(MapJob& job, const std::string& message) {
    if (job.failure.empty()) {
        job.failure = message;
    }
}

// Maps are read and exported -j at a time, but more are written at once: a
// write spends its time waiting for the disk to sync the file.
class Workers {
  public:
    static constexpr int MostAtOnce = 256;
    static constexpr int WritesAtOnce = 8;

    explicit Workers(int jobs) : jobs_(jobs), permits_(jobs) {}

    // Runs work(i) for each i below count, on threads enough for the writes.
    template <class Work> void ForEach(std::size_t count, const Work& work) {
        std::atomic<std::size_t> next = 0;
        const auto run = [&] {
            for (std::size_t i = next++; i < count; i = next++) {
                work(i);
            }
        };
        std::vector<std::thread> threads;
        const std::size_t wanted = static_cast<std::size_t>(std::max(jobs_, WritesAtOnce));
        for (std::size_t t = 1; t < std::min(wanted, count); ++t) {
            threads.emplace_back(run);
        }
        run();
        for (std::thread& thread : threads) {
            thread.join();
        }
    }

    // Holds one of the -j places while it lives.
    class Computing {
      public:
        explicit Computing(Workers& workers) : permits_(workers.permits_) { permits_.acquire(); }
        ~Computing() { permits_.release(); }
        Computing(const Computing&) = delete;
        Computing& operator=(const Computing&) = delete;

      private:
        std::counting_semaphore<MostAtOnce>& permits_;
    };

  private:
    int jobs_;
    std::counting_semaphore<MostAtOnce> permits_;
};

// The profile and the settings it gives, checked; first of all, as the bank
// a map names decides which maps are built together.
void ReadProfile(MapJob& job) {
    const std::string profilePath = ExportProfilePath(job.path);
    job.inputs = {FindFile(job.path), FindFile(TileAttributesPath(job.path)),
                  FindFile(profilePath)};
    Result<ExportProfile> profile = LoadExportProfile(profilePath);
    if (!profile) {
        return Fail(job, profile.message());
    }
    job.settings = profile.value().Settings;
    ResolveExportPaths(job.settings, job.path);
    job.output = ResolveExportOutput(job.path, profile.value().Output);
    if (job.output.empty() || job.output == "-") {
        return Fail(job, "Its export profile names no output file; a build writes each map's "
                         "export to the file its profile's \"output\" names.");
    }
    if (Status checked = CheckExportSettings(job.settings); !checked) {
        return Fail(job, checked.message());
    }
    for (const std::string* path : {&job.output}) {
        for (const std::string& file : OutputPaths(job.settings, *path)) {
            job.outputs.push_back({file, OutputState::Failed, job.path});
        }
    }
    if (job.settings.Bank.empty()) {
        for (const std::string* path : {&job.settings.Tiles, &job.settings.Palettes}) {
            for (const std::string& file : OutputPaths(job.settings, *path)) {
                job.outputs.push_back({file, OutputState::Failed, job.path});
            }
        }
    }
}

// Everything the export reads, each file's identity taken before it is read.
void ReadMap(MapJob& job) {
    Result<Document> document = ReadDocument(job.path);
    if (!document) {
        return Fail(job, document.message());
    }
    job.map = document.value().MapData;
    job.attributes = document.value().Attributes;
    if (!NeedsTilePictures(job.settings)) {
        return;
    }
    const std::vector<std::string>& tilesets = document.value().Tilesets;
    for (const std::string& tileset : ResolveTilesetPaths(tilesets, FolderOf(job.path))) {
        job.inputs.push_back(FindFile(tileset));
    }
    for (const std::string* file : {&job.settings.PaletteFile, &job.settings.NesPalette}) {
        if (!file->empty()) {
            job.inputs.push_back(FindFile(*file));
        }
    }
    Result<Surface> picture = BuildPalette(tilesets, document.value().ProjectFolder);
    if (!picture) {
        return Fail(job, picture.message());
    }
    job.picture = std::move(picture).value();
    // The bank is read once for all the maps that share it.
    ExportSettings own = job.settings;
    own.Bank.clear();
    Result<ArtInputs> art = ReadArtInputs(own, &job.picture);
    if (!art) {
        return Fail(job, art.message());
    }
    job.art = std::move(art).value();
}

// Writes a group of outputs, each left as it is when it already holds its
// bytes; an output may not replace a file the build reads.
Status WriteOutputs(const std::vector<ExportFile>& files, const std::vector<BuiltFile>& inputs,
                    std::vector<BuildOutput>& outputs, const std::string& owner,
                    const FileContent* first = nullptr) {
    std::vector<std::string> read;
    for (const BuiltFile& input : inputs) {
        read.push_back(input.Path);
    }
    std::vector<FileContent> contents;
    if (first) {
        contents.push_back(*first);
    }
    for (const ExportFile& file : files) {
        if (Status safe = CheckNotAnInput(file.Path, read); !safe) {
            return safe;
        }
        contents.push_back({file.Path, ByteSpan(file.Bytes), Durability::Document, true});
    }
    std::vector<FileOutcome> outcomes;
    if (Status written = WriteFilesAtomic(contents, &outcomes); !written) {
        return written;
    }
    outputs.clear();
    for (std::size_t i = 0; i < contents.size(); ++i) {
        outputs.push_back(
            {contents[i].path,
             outcomes[i] == FileOutcome::Written ? OutputState::Written : OutputState::Left,
             owner});
    }
    return {};
}

// The map's own files, from the tiles it has when it joined its bank, or
// with its own tiles and palettes when it has none.
void ExportOne(MapJob& job, Workers& workers) {
    ExportSettings settings = job.settings;
    const bool bank = !settings.Bank.empty();
    if (bank) {
        settings.Tiles.clear(); // the bank's, written once
        settings.Palettes.clear();
    }
    const bool art = NeedsTilePictures(settings);
    std::optional<Workers::Computing> computing(workers);
    const Result<MapExport> result =
        ExportMap(job.map, job.attributes, settings, job.output, art ? &job.art : nullptr,
                  job.tiles ? &*job.tiles : nullptr);
    computing.reset();
    if (!result) {
        return Fail(job, result.message());
    }
    std::vector<BuiltFile> inputs = job.inputs;
    if (bank) {
        inputs.push_back({settings.Bank, std::nullopt});
    }
    if (Status written = WriteOutputs(result.value().Files, inputs, job.outputs, job.path);
        !written) {
        Fail(job, written.message());
    }
}

// What the maps that share a bank must agree on: its outputs and their form.
std::string BankOutputsKey(const ExportSettings& settings) {
    std::string key;
    for (const char* name :
         {"hardware", "bpp", "tiles", "palettes", "format", "syntax", "compress"}) {
        key += std::string(name) + " " + ExportSettingText(settings, name) + "; ";
    }
    if (settings.Bpp) {
        return key;
    }
    return key + "bpp " + std::to_string(EffectiveBpp(settings));
}

// The maps join the bank in order; a map refused leaves it as it was. Then
// the bank's file and its outputs are written, before the maps' own.
void JoinBank(BankJob& bank, bool compact) {
    std::vector<MapJob*> joining;
    const MapJob* first = nullptr;
    for (MapJob* member : bank.members) {
        if (!member->failure.empty()) {
            continue;
        }
        if (first && BankOutputsKey(member->settings) != BankOutputsKey(first->settings)) {
            Fail(*member, "It shares the tile bank " + Shortened(bank.path) + " with " +
                              Shortened(first->path) +
                              ", but not its settings for the bank's outputs (" +
                              BankOutputsKey(first->settings) +
                              "): maps that share a bank write its tiles and palettes alike.");
            continue;
        }
        first = first ? first : member;
        joining.push_back(member);
    }
    Result<TileBank> loaded = LoadTileBank(bank.path);
    if (!loaded) {
        for (MapJob* member : joining) {
            Fail(*member, loaded.message());
        }
        return;
    }
    TileBank grown = std::move(loaded).value();
    const std::size_t before = grown.Tiles.size();
    std::vector<std::string> pastLimit;
    for (MapJob* member : joining) {
        member->art.Bank = std::make_shared<const TileBank>(grown);
        member->art.BankName = Shortened(bank.path);
        ConsoleTiles tiles =
            MakeConsoleTiles(member->map, member->attributes, member->settings, member->art);
        if (!tiles.Problems.empty()) {
            if (static_cast<int>(tiles.Tiles.size()) > tiles.TileLimit) {
                pastLimit.push_back(Shortened(member->path));
            }
            Fail(*member, tiles.Problems.front().Message);
            continue;
        }
        grown = GrownBank(tiles, member->settings.Hardware);
        member->tiles = std::move(tiles);
    }
    if (!pastLimit.empty()) {
        std::string maps;
        for (std::size_t i = 0; i < pastLimit.size(); ++i) {
            maps += (i == 0 ? "" : i + 1 == pastLimit.size() ? " and " : ", ") + pastLimit[i];
        }
        bank.note = "The tile bank " + Shortened(bank.path) + " holds " +
                    std::to_string(grown.Tiles.size()) + " tiles and took no more: " + maps +
                    (pastLimit.size() == 1 ? " adds" : " add") +
                    " tiles past what the console's map names.";
    }
    const bool whole = std::all_of(bank.members.begin(), bank.members.end(),
                                   [](const MapJob* m) { return m->failure.empty(); });
    if (compact && !whole) {
        bank.note = "The tile bank " + Shortened(bank.path) +
                    " was not compacted: a map that shares it failed, and its tiles would be "
                    "dropped.";
    } else if (compact && first) {
        std::vector<bool> used(grown.Tiles.size(), false);
        for (const MapJob* member : joining) {
            for (std::size_t n = 0; n < member->tiles->Named.size(); ++n) {
                used[n] = used[n] || member->tiles->Named[n];
            }
        }
        const std::vector<int> numbers = CompactTileBank(grown, used);
        int moved = 0;
        for (std::size_t n = 0; n < numbers.size(); ++n) {
            moved += numbers[n] >= 0 && numbers[n] != static_cast<int>(n);
        }
        for (MapJob* member : joining) {
            RenumberTiles(*member->tiles, numbers, member->settings.TileBase);
        }
        bank.note = "Compacted the tile bank " + Shortened(bank.path) + ": " +
                    std::to_string(numbers.size() - grown.Tiles.size()) +
                    " tiles no map uses dropped, " + std::to_string(moved) + " renumbered, " +
                    std::to_string(grown.Tiles.size()) + " kept.";
    } else if (bank.note.empty() && grown.Tiles.size() > before) {
        bank.note = "The tile bank " + Shortened(bank.path) + " took " +
                    std::to_string(grown.Tiles.size() - before) + " new tiles (" +
                    std::to_string(grown.Tiles.size()) + " in all).";
    }
    if (!first) {
        return;
    }
    ArtSummary summary;
    const std::vector<ExportFile> files =
        ExportArtFiles(first->settings, BankTiles(grown), {}, summary);
    const std::string text = WriteTileBankText(grown);
    const FileContent bankFile{bank.path, ByteSpan(text), Durability::Document, true};
    std::vector<BuiltFile> inputs;
    for (const MapJob* member : joining) {
        inputs.insert(inputs.end(), member->inputs.begin(), member->inputs.end());
    }
    if (Status written = WriteOutputs(files, inputs, bank.outputs, bank.path, &bankFile);
        !written) {
        for (MapJob* member : joining) {
            Fail(*member, written.message());
        }
    }
}

// Two maps, or a map and a bank, that would write one file: the later map fails.
void CheckOutputsOwnedOnce(std::vector<MapJob>& jobs) {
    std::map<std::string, std::string> owners;
    for (MapJob& job : jobs) {
        std::vector<std::pair<std::string, std::string>> claims; // path, owner
        if (job.fresh) {
            for (const BuiltFile& file : job.built->Outputs) {
                claims.emplace_back(file.Path, job.path);
            }
            for (const BuiltFile& file : job.built->Shared) {
                claims.emplace_back(file.Path, job.built->Bank);
            }
        } else {
            for (const BuildOutput& output : job.outputs) {
                claims.emplace_back(output.Path, job.path);
            }
            for (const std::string* path : {&job.settings.Tiles, &job.settings.Palettes}) {
                for (const std::string& file : OutputPaths(job.settings, *path)) {
                    claims.emplace_back(file, job.bank().empty() ? job.path : job.bank());
                }
            }
            if (!job.bank().empty()) {
                claims.emplace_back(job.bank(), job.bank());
            }
        }
        for (const auto& [path, owner] : claims) {
            const auto [at, added] = owners.try_emplace(Normal(path), owner);
            if (!added && at->second != owner) {
                Fail(job, "It would write " + Shortened(path) + ", which " + Shortened(at->second) +
                              " writes too; give each map and bank its own outputs.");
            }
        }
    }
}

BuiltMap Record(const MapJob& job, const BankJob* bank) {
    if (job.fresh) {
        return *job.built;
    }
    BuiltMap built{job.path, bank ? bank->path : std::string(), job.inputs, {}, {}};
    for (const BuildOutput& output : job.outputs) {
        built.Outputs.push_back(FindFile(output.Path));
    }
    for (const BuildOutput& output : bank ? bank->outputs : std::vector<BuildOutput>{}) {
        // The bank's file is what the map was made from, as the build leaves it.
        (output.Path == bank->path ? built.Inputs : built.Shared).push_back(FindFile(output.Path));
    }
    return built;
}

// One rule for each map's outputs and one for each bank's, naming the files
// among those they were made from that exist (make would remake a missing one
// on every run).
std::vector<MakeRule> DependencyRules(const BuildRecord& record) {
    std::vector<MakeRule> rules;
    std::map<std::string, MakeRule> banks;
    for (const BuiltMap& map : record) {
        MakeRule rule;
        for (const BuiltFile& file : map.Inputs) {
            if (file.Identity) {
                rule.Sources.push_back(file.Path);
            }
        }
        for (const BuiltFile& file : map.Outputs) {
            rule.Targets.push_back(file.Path);
        }
        if (!map.Bank.empty()) {
            MakeRule& bank = banks[map.Bank];
            for (const BuiltFile& file : map.Shared) {
                if (std::find(bank.Targets.begin(), bank.Targets.end(), file.Path) ==
                    bank.Targets.end()) {
                    bank.Targets.push_back(file.Path);
                }
            }
            bank.Sources.insert(bank.Sources.end(), rule.Sources.begin(), rule.Sources.end());
        }
        rules.push_back(std::move(rule));
    }
    for (auto& [path, rule] : banks) {
        std::sort(rule.Sources.begin(), rule.Sources.end());
        rule.Sources.erase(std::unique(rule.Sources.begin(), rule.Sources.end()),
                           rule.Sources.end());
        if (!rule.Targets.empty()) {
            rules.push_back(std::move(rule));
        }
    }
    return rules;
}

Status WriteDepfile(const std::string& path, const BuildRecord& record) {
    const Result<std::string> text = WriteMakeRules(DependencyRules(record));
    if (!text) {
        return Error{text.message()};
    }
    const FileContent content{path, ByteSpan(text.value()), Durability::Derived, true};
    return WriteFilesAtomic(std::span(&content, 1));
}

} // namespace

int BuildReport::Count(OutputState state) const {
    return static_cast<int>(std::count_if(Outputs.begin(), Outputs.end(),
                                          [&](const BuildOutput& o) { return o.State == state; }));
}

std::string BuildSummary(const BuildReport& report) {
    const auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + (n == 1 ? one : many);
    };
    std::string failed;
    if (!report.Failures.empty()) {
        failed = " (" + count(report.Failures.size(), " failed", " failed") + ")";
    }
    return "Built " + count(report.Maps.size(), " map", " maps") + failed + ": " +
           count(static_cast<std::size_t>(report.Count(OutputState::Written)), " output written",
                 " outputs written") +
           ", " + std::to_string(report.Count(OutputState::Left)) + " left as they were, " +
           std::to_string(report.Count(OutputState::Failed)) + " failed.";
}

Result<BuildReport> RunBuild(const BuildOptions& options, const BuildProgress& progress) {
    Result<std::vector<std::string>> found = FindBuildMaps(options.Folder);
    if (!found) {
        return Error{found.message()};
    }
    const int jobsAtOnce = options.Jobs > 0
                               ? options.Jobs
                               : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const BuildRecord record = ReadBuildRecord(options.Folder);
    std::map<std::string, const BuiltMap*> built;
    for (const BuiltMap& map : record) {
        built.emplace(map.Map, &map);
    }
    std::vector<MapJob> jobs(found.value().size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        jobs[i].path = found.value()[i];
        const auto at = built.find(jobs[i].path);
        jobs[i].built = at == built.end() ? nullptr : at->second;
        jobs[i].fresh = jobs[i].built && !options.Compact && StillAsBuilt(*jobs[i].built);
    }
    // A bank with a map to build takes all its maps again, in order.
    for (MapJob& job : jobs) {
        if (!job.fresh) {
            ReadProfile(job);
        }
    }
    std::map<std::string, BankJob> banks;
    for (const MapJob& job : jobs) {
        if (!job.fresh && !job.bank().empty()) {
            banks[job.bank()].path = job.bank();
        }
    }
    for (MapJob& job : jobs) {
        if (job.fresh && banks.contains(job.bank())) {
            job.fresh = false;
            ReadProfile(job);
        }
    }
    CheckOutputsOwnedOnce(jobs);

    std::mutex reporting;
    int finishedMaps = 0;
    const auto finished = [&] {
        if (progress) {
            const std::lock_guard lock(reporting);
            progress(++finishedMaps, static_cast<int>(jobs.size()));
        }
    };
    for (const MapJob& job : jobs) {
        if (job.fresh) {
            finished();
        }
    }
    // Every map to build is read; one without a bank is exported there and then.
    Workers workers(jobsAtOnce);
    workers.ForEach(jobs.size(), [&](std::size_t i) {
        MapJob& job = jobs[i];
        if (job.fresh) {
            return;
        }
        if (job.failure.empty()) {
            const Workers::Computing computing(workers);
            ReadMap(job);
        }
        if (job.bank().empty()) {
            if (job.failure.empty()) {
                ExportOne(job, workers);
            }
            finished();
        }
    });
    for (MapJob& job : jobs) {
        if (!job.fresh && !job.bank().empty()) {
            BankJob& bank = banks[job.bank()];
            bank.path = job.bank();
            bank.members.push_back(&job);
        }
    }
    std::vector<BankJob*> activeBanks;
    for (auto& [path, bank] : banks) {
        activeBanks.push_back(&bank);
    }
    workers.ForEach(activeBanks.size(), [&](std::size_t i) {
        const Workers::Computing computing(workers);
        JoinBank(*activeBanks[i], options.Compact);
    });
    workers.ForEach(jobs.size(), [&](std::size_t i) {
        MapJob& job = jobs[i];
        if (!job.fresh && !job.bank().empty()) {
            if (job.failure.empty()) {
                ExportOne(job, workers);
            }
            finished();
        }
    });

    BuildReport report;
    BuildRecord kept;
    std::vector<BuildOutput> done;
    for (const MapJob& job : jobs) {
        report.Maps.push_back(job.path);
        if (!job.failure.empty()) {
            report.Failures.push_back({job.path, job.failure});
            continue;
        }
        const auto bank = banks.find(job.bank());
        BuiltMap map = Record(job, bank == banks.end() || job.fresh ? nullptr : &bank->second);
        if (job.fresh) {
            for (const auto* files : {&map.Outputs, &map.Shared}) {
                for (const BuiltFile& file : *files) {
                    done.push_back({file.Path, OutputState::Left, job.path});
                }
            }
            if (!map.Bank.empty()) {
                done.push_back({map.Bank, OutputState::Left, map.Bank});
            }
        } else {
            done.insert(done.end(), job.outputs.begin(), job.outputs.end());
        }
        kept.push_back(std::move(map));
    }
    for (const BankJob* bank : activeBanks) {
        done.insert(done.end(), bank->outputs.begin(), bank->outputs.end());
        if (!bank->note.empty()) {
            report.Notes.push_back(bank->note);
        }
    }
    // Maps that share a bank list its files each: each file is told once.
    const auto listed = [&](const std::string& path) {
        return std::any_of(report.Outputs.begin(), report.Outputs.end(),
                           [&](const BuildOutput& o) { return o.Path == path; });
    };
    for (const BuildOutput& output : done) {
        if (!listed(output.Path)) {
            report.Outputs.push_back(output);
        }
    }
    // A failed map's outputs that no other map wrote; the map itself stands
    // for those its profile did not tell.
    for (const MapJob& job : jobs) {
        if (job.failure.empty()) {
            continue;
        }
        bool any = false;
        for (const BuildOutput& output : job.outputs) {
            if (!listed(output.Path)) {
                report.Outputs.push_back({output.Path, OutputState::Failed, job.path});
                any = true;
            }
        }
        if (!any) {
            report.Outputs.push_back({job.path, OutputState::Failed, job.path});
        }
    }
    // A folder with no maps gets no record.
    if (!jobs.empty() || !record.empty()) {
        (void)WriteBuildRecord(options.Folder, kept);
    }
    if (!options.Depfile.empty()) {
        if (Status written = WriteDepfile(options.Depfile, kept); !written) {
            return Error{written.message()};
        }
    }
    return report;
}

} // namespace tessra
