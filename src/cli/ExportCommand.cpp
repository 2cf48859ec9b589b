#include "ExportCommand.h"

#include "OutputFile.h"
#include "document/ChartDocument.h"
#include "export/Exporter.h"
#include "io/PathText.h"
#include "playback/SoundFont.h"

namespace {

// The options' own faults, or empty.
std::string OptionsFault(const ExportCommandOptions& o) {
    if (o.to != "osu" && o.to != "quaver" && o.to != "bms") return "--to must be osu, quaver or bms, not " + o.to;
    if (o.audio != "ogg" && o.audio != "wav" && o.audio != "none")
        return "--audio must be ogg, wav or none, not " + o.audio;
    if (!(o.od >= 0 && o.od <= 10)) return "--od must be 0..10";
    if (!(o.hp >= 0 && o.hp <= 10)) return "--hp must be 0..10";
    if (o.keysounds && o.audio == "none") return "--keysounds needs audio (ogg or wav)";
    return {};
}

}  // namespace

int RunExport(const ExportCommandOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
              std::ostream& err) {
    if (const std::string fault = OptionsFault(options); !fault.empty()) {
        err << "ryxtool: " << fault << "\n";
        return 2;
    }
    if (!OutputIsNotInput(options.output, options.chart, err)) return 2;
    ChartDocument document(tempDir, ViewGeometry::Large(), {});
    if (Status status = document.OpenChart(options.chart); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    ExportOptions e;
    e.format = options.to == "osu" ? GameFormat::Osu : options.to == "quaver" ? GameFormat::Quaver : GameFormat::Bms;
    e.output = options.output;
    e.audio = options.audio == "wav" ? AudioChoice::Wav : options.audio == "none" ? AudioChoice::None : AudioChoice::Ogg;
    e.keysounds = options.keysounds;
    e.osu = {options.od, options.hp};
    e.soundFont = options.soundFont.value_or(DefaultSoundFont());
    if (e.audio != AudioChoice::None) {
        if (Status status = CheckSoundFont(e.soundFont); !status) {
            err << "ryxtool: " << status.Message() << "\n";
            return 2;
        }
    }
    ExportResult result;
    if (Status status = document.Export(e, result); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    out << "Exported to " << PathText(result.output) << ":";
    for (const std::string& file : result.files) out << " " << file;
    out << "\n";
    return 0;
}
