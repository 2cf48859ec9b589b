// ryxtool: the chart editor's file work from the command line.

#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <iostream>

#include "CheckCommand.h"
#include "TestPlayCommand.h"
#include "ExportCommand.h"
#include "PickCommand.h"
#include "ConvertCommand.h"
#include "DumpCommand.h"
#include "EventsCommand.h"
#include "PlayCommand.h"
#include "PreviewCommand.h"
#include "RenderCommand.h"
#include "SetCommand.h"
#include "io/DataFolder.h"
#include "io/TempDirectory.h"

namespace {

// Set by Ctrl+C while playing, so the engine stops cleanly.
std::atomic<bool> stopRequested = false;

int Run(int argc, char** argv) {
    CLI::App app{
        "ryxtool: inspect and change RYX Creator chart files (.ryx) and the MIDI files they come from",
        "ryxtool"};
    app.require_subcommand(0, 1);

    std::string dumpPath;
    CLI::App* dump = app.add_subcommand("dump", "Print a chart file as JSON");
    dump->add_option("FILE", dumpPath, "Chart file (.ryx)")->required();

    std::string eventsPath;
    CLI::App* events =
        app.add_subcommand("events", "Print the events of a Standard MIDI File as the program reads them");
    events->add_option("FILE", eventsPath, "MIDI file (.mid)")->required();

    // The song information options of `convert` and `set`.
    auto addSongInfoOptions = [](CLI::App* command, SongInfoOptions& options, bool withDefaults) {
        auto defaultText = [&](const char* text, const char* fallback) {
            return withDefaults ? std::string(text) + " (default: " + fallback + ")" : std::string(text);
        };
        command->add_option("--title", options.title, defaultText("Song title", "the file's name"));
        command->add_option("--composer", options.composer, defaultText("Composer", "Unknown"));
        command->add_option("--author", options.author, defaultText("Chart author", "Unknown"));
        command->add_option("--ext-genre", options.extGenre, "Extended genre (free text)");
        command->add_option("--genre", options.genre, defaultText("Genre code 0..9", "0, Pop"));
        command->add_option("--level", options.level, defaultText("Level 1..10", "1"));
    };

    ConvertOptions convertOptions;
    std::string convertInput, convertOutput;
    CLI::App* convert =
        app.add_subcommand("convert", "Convert a MIDI file into a chart file, as the editor does");
    convert->add_option("IN", convertInput, "MIDI file (.mid)")->required();
    convert->add_option("-o,--output", convertOutput,
                        "Chart file to write (default: IN with extension .ryx)");
    addSongInfoOptions(convert, convertOptions.songInfo, true);

    PreviewOptions previewOptions;
    std::string previewChart, previewOutput, previewData;
    CLI::App* preview =
        app.add_subcommand("preview", "Paint the chart view as the editor shows it into a PNG file");
    preview->add_option("FILE", previewChart, "Chart file (.ryx)")->required();
    preview->add_option("-o,--output", previewOutput, "PNG file to write")->required();
    preview->add_option("--track", previewOptions.track, "Current track 0..15 (default 0)");
    preview->add_option("--position", previewOptions.position, "View position in chart ticks (default 0)");
    preview->add_option("--layout", previewOptions.layout, "large (540x600) or small (380x400)");
    preview->add_option("--interval", previewOptions.interval, "Chart ticks per pixel (default 10)");
    preview->add_option("--height", previewOptions.height, "View height in pixels, the layout's or more");
    preview->add_flag("--grid", previewOptions.beatLines, "Draw beat and measure lines under the notes");
    preview->add_option("--long", previewOptions.longLength,
                        "Shortest long note in chart ticks (default 768)");
    preview->add_option("--data", previewData,
                        "Folder that holds common/ (default: the program's data folder)");

    RenderOptions renderOptions;
    std::string renderChart, renderOutput, renderSoundFont;
    CLI::App* render = app.add_subcommand(
        "render", "Render what Play would play from a position into a WAV file (44.1 kHz, 16-bit stereo)");
    render->add_option("FILE", renderChart, "Chart file (.ryx)")->required();
    render->add_option("-o,--output", renderOutput, "WAV file to write")->required();
    render->add_option("--from", renderOptions.from, "Start point in chart ticks (default 0)");
    render->add_option("--filter", renderOptions.filter, "all (default), player, or a track 0..15");
    render->add_option("--soundfont", renderSoundFont, "General MIDI SoundFont (default: the system's)");
    render->add_option("--speed", renderOptions.speed, "Playback speed in percent, 25..200 (default 100)");
    render->add_flag("--metronome", renderOptions.metronome, "A click on every beat with the music");

    PlayOptions playOptions;
    std::string playChart, playPort;
    CLI::App* play = app.add_subcommand("play", "Play a chart in real time as the editor's Play does");
    play->add_option("FILE", playChart, "Chart file (.ryx)");
    play->add_option("--from", playOptions.from, "Start point in chart ticks (default 0)");
    play->add_option("--filter", playOptions.filter, "all (default), player, or a track 0..15");
    play->add_option("--port", playPort, "Output port: its number or name (default 0)");
    play->add_flag("--list-ports", playOptions.listPorts, "Print the output ports, one a line, and exit");
    play->add_option("--speed", playOptions.speed, "Playback speed in percent, 25..200 (default 100)");
    play->add_flag("--metronome", playOptions.metronome, "A click on every beat with the music");

    std::string checkPath;
    int32_t checkGap = 100;
    CLI::App* check = app.add_subcommand("check", "List what would hurt a player or a reader of a chart");
    check->add_option("FILE", checkPath, "Chart file (.ryx)")->required();
    bool checkJson = false;
    check->add_flag("--json", checkJson, "The rating and the findings as JSON");
    check->add_option("--gap", checkGap,
                      "Closest two player notes of one lane may be, chart ticks (default 100)");

    TestPlayOptions testPlayOptions;
    std::string testPlayChart;
    std::string testPlayInput;
    CLI::App* testPlay =
        app.add_subcommand("testplay", "Judge key events against a chart's player notes as the editor's test-play does");
    testPlay->add_option("FILE", testPlayChart, "Chart file (.ryx)")->required();
    testPlay->add_option("--input", testPlayInput, "Key events, one a line: ms,lane,down or ms,lane,up");
    testPlay->add_flag("--autoplay", testPlayOptions.autoplay, "Judge a perfect player instead");
    testPlay->add_option("--from", testPlayOptions.from, "Start point in chart ticks (default 0)");
    testPlay->add_option("--speed", testPlayOptions.speed, "Playback speed in percent, 25..200 (default 100)");
    testPlay->add_option("--offset", testPlayOptions.offset,
                         "Audio offset in milliseconds, taken off every key event (default 0)");
    testPlay->add_flag("--json", testPlayOptions.json, "Every note's judgement and the totals as JSON");

    ExportCommandOptions exportOptions;
    std::string exportChart, exportOutput, exportSoundFont;
    CLI::App* exportCommand =
        app.add_subcommand("export", "Write a chart for osu!mania, Quaver or BMS, with the song's audio");
    exportCommand->add_option("FILE", exportChart, "Chart file (.ryx)")->required();
    exportCommand->add_option("--to", exportOptions.to, "osu, quaver or bms")->required();
    exportCommand->add_option("-o,--output", exportOutput, "OUT.osz or OUT.qp for the archive, else a folder")
        ->required();
    exportCommand->add_option("--audio", exportOptions.audio, "ogg (default), wav or none");
    exportCommand->add_flag("--keysounds", exportOptions.keysounds,
                            "Each player note plays its own sound; the song's audio leaves them out");
    exportCommand->add_option("--od", exportOptions.od, "osu!'s OverallDifficulty (default 8)");
    exportCommand->add_option("--hp", exportOptions.hp, "osu!'s HPDrainRate (default 8)");
    exportCommand->add_option("--soundfont", exportSoundFont, "General MIDI SoundFont (default: the system's)");

    PickOptions pickOptions;
    std::string pickChart, pickOutput;
    CLI::App* pick = app.add_subcommand("pick", "Choose the player's notes for a star rating, as Pick Notes does");
    pick->add_option("FILE", pickChart, "Chart file (.ryx)")->required();
    pick->add_option("--stars", pickOptions.stars, "The rating to reach")->required();
    pick->add_option("--track", pickOptions.track, "A track 0..15 or all (default: the chart's current track)");
    pick->add_option("-o,--output", pickOutput, "Save as this chart file (default: in place)");

    std::string setPath;
    SongInfoOptions setOptions;
    CLI::App* set = app.add_subcommand("set", "Change a chart file's song information in place");
    set->add_option("FILE", setPath, "Chart file (.ryx)")->required();
    addSongInfoOptions(set, setOptions, false);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help exits 0; every usage error exits 2 with its message.
        int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }

    if (app.get_subcommands().empty()) {
        std::cout << app.help();
        return 0;
    }

    if (*events) return RunEvents(eventsPath, std::cout, std::cerr);

    std::optional<TempDirectory> temp = TempDirectory::Create();
    if (!temp) {
        std::cerr << "ryxtool: unable to create a private temporary folder\n";
        return 2;
    }
    if (*convert) {
        convertOptions.input = convertInput;
        if (!convertOutput.empty()) convertOptions.output = convertOutput;
        return RunConvert(convertOptions, temp->Path(), std::cout, std::cerr);
    }
    if (*preview) {
        previewOptions.chart = previewChart;
        previewOptions.output = previewOutput;
        previewOptions.dataDir =
            previewData.empty() ? DefaultDataFolder(argv[0]) : std::filesystem::path(previewData);
        return RunPreview(previewOptions, temp->Path(), std::cerr);
    }
    if (*dump) return RunDump(dumpPath, temp->Path(), std::cout, std::cerr);
    if (*check) return RunCheck(checkPath, checkGap, temp->Path(), std::cout, std::cerr, checkJson);
    if (*pick) {
        pickOptions.chart = pickChart;
        if (!pickOutput.empty()) pickOptions.output = pickOutput;
        return RunPick(pickOptions, temp->Path(), std::cout, std::cerr);
    }
    if (*exportCommand) {
        exportOptions.chart = exportChart;
        exportOptions.output = exportOutput;
        if (!exportSoundFont.empty()) exportOptions.soundFont = exportSoundFont;
        return RunExport(exportOptions, temp->Path(), std::cout, std::cerr);
    }
    if (*testPlay) {
        testPlayOptions.chart = testPlayChart;
        if (!testPlayInput.empty()) testPlayOptions.input = testPlayInput;
        return RunTestPlay(testPlayOptions, temp->Path(), std::cout, std::cerr);
    }
    if (*play) {
        if (!playChart.empty()) playOptions.chart = playChart;
        if (!playPort.empty()) playOptions.port = playPort;
        std::signal(SIGINT, [](int) { stopRequested = true; });
        return RunPlay(playOptions, temp->Path(), std::cout, std::cerr, stopRequested);
    }
    if (*render) {
        renderOptions.chart = renderChart;
        renderOptions.output = renderOutput;
        if (!renderSoundFont.empty()) renderOptions.soundFont = renderSoundFont;
        return RunRender(renderOptions, temp->Path(), std::cout, std::cerr);
    }
    return RunSet(setPath, setOptions, temp->Path(), std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    // Anything the commands did not turn into a message of their own (a file system error, no
    // memory) still ends with one clear line rather than an abort.
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "ryxtool: " << error.what() << "\n";
        return 2;
    }
}
