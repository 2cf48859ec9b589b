#include "ConvertCommand.h"

#include "chart/ChartFile.h"
#include "chart/FileSystem.h"
#include "chart/Genres.h"
#include "editor/ChartView.h"
#include "editor/PaletteFill.h"
#include "editor/Selection.h"
#include "midi_import/ConversionSession.h"

namespace {

// The log as the dialog holds it, with the line ends of this system.
std::string PlainLines(const std::string& log) {
    std::string text;
    text.reserve(log.size());
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i] == '\r' && i + 1 < log.size() && log[i + 1] == '\n') continue;
        text += log[i];
    }
    return text;
}

bool ValidOptions(const ConvertOptions& options, std::ostream& err) {
    if (options.genre && (*options.genre < 0 || *options.genre >= kGenreCount)) {
        err << "ryxtool: genre must be 0 to " << kGenreCount - 1 << ", not " << *options.genre << "\n";
        return false;
    }
    if (options.level && (*options.level < 1 || *options.level > kLevelCount)) {
        err << "ryxtool: level must be 1 to " << kLevelCount << ", not " << *options.level << "\n";
        return false;
    }
    return true;
}

void ApplyOverrides(const ConvertOptions& options, PaletteFields& fields) {
    if (options.title) fields.title = *options.title;
    if (options.composer) fields.composer = *options.composer;
    if (options.author) fields.author = *options.author;
    if (options.extGenre) fields.extGenre = *options.extGenre;
    if (options.genre) fields.genre = *options.genre;
    if (options.level) fields.level = *options.level - 1;
}

}  // namespace

int RunConvert(const ConvertOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
               std::ostream& err) {
    if (!ValidOptions(options, err)) return 2;
    if (!std::filesystem::is_regular_file(options.input)) {
        err << "ryxtool: cannot open " << PathText(options.input) << "\n";
        return 2;
    }
    const std::string fileTitle = PathText(options.input.stem());
    std::filesystem::path output =
        options.output.value_or(std::filesystem::path(options.input).replace_extension(".ryx"));

    CChart chart;
    PaletteFields fields;
    // The editor's own view does the reset for the converted chart, with the palette's part
    // captured here.
    ChartView view(ViewGeometry::Large());
    view.hooks.fillPalette = [&](CChart& converted) {
        fields = FillFromChart(converted, fileTitle, options.author, {});
    };
    ConversionHooks hooks;
    hooks.resetForLoadedChart = [&](CChart& converted) { view.ResetForLoadedChart(converted, fileTitle); };
    ConversionSession session(chart, tempDir, hooks);
    session.Prepare(options.input, fileTitle);

    ConversionSession::Outcome outcome = session.Ok();
    if (outcome == ConversionSession::Outcome::Converted) outcome = session.Ok();
    out << PlainLines(session.log.Text()) << "\n";
    if (outcome != ConversionSession::Outcome::Finished) return 1;

    ApplyOverrides(options, fields);
    StorePaletteFields(fields, chart.songInfo);
    SelectAllIfNoneSelected(chart, chart.songInfo.currentTrack, view.CollisionWindow());
    if (ChartStatus status = SaveChartFile(chart, output, tempDir); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    out << "Chart saved to " << PathText(output) << "\n";
    return 0;
}
