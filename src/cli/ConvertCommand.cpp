#include "ConvertCommand.h"

#include "OutputFile.h"
#include "document/ChartDocument.h"
#include "editor/PaletteFill.h"

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

}  // namespace

int RunConvert(const ConvertOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
               std::ostream& err) {
    if (!ValidSongInfo(options.songInfo, err)) return 2;
    if (!std::filesystem::is_regular_file(options.input)) {
        err << "ryxtool: cannot open " << PathText(options.input) << "\n";
        return 2;
    }
    const std::string fileTitle = PathText(options.input.stem());
    std::filesystem::path output =
        options.output.value_or(std::filesystem::path(options.input).replace_extension(".ryx"));
    if (!OutputIsNotInput(output, options.input, err)) return 2;

    // The editor's own document: its view is reset for the converted chart, with the palette's
    // part captured here.
    ChartDocument document(tempDir, ViewGeometry::Large(), {});
    PaletteFields fields;
    document.View().hooks.fillPalette = [&](const CChart& converted) {
        fields = FillFromChart(converted, fileTitle, options.songInfo.author, {});
    };
    document.PrepareConversion(options.input);
    ConversionSession& session = document.Conversion();

    ConversionSession::Outcome outcome = session.Ok();
    if (outcome == ConversionSession::Outcome::Converted) outcome = session.Ok();
    out << PlainLines(session.log.Text()) << "\n";
    if (!session.systemFailure) {
        err << "ryxtool: " << session.systemFailure.Message() << "\n";
        return 2;
    }
    if (outcome != ConversionSession::Outcome::Finished) return 1;

    document.TakeShownSongInfo(fields);
    CSongInfo& info = document.Chart().songInfo;
    ApplySongInfo(options.songInfo, info, err);
    if (Status status = document.SaveTo(output, SongFieldsOf(info), info.currentTrack).status; !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    out << "Chart saved to " << PathText(output) << "\n";
    return 0;
}
