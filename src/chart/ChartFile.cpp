#include "ChartFile.h"

#include <new>
#include <utility>
#include <vector>

#include "ChartArchive.h"
#include "ChartInfo.h"
#include "FinishLoadedChart.h"
#include "smf/LibSmf.h"

namespace {

void Report(const LoadProgress& progress, int position, std::string_view text) {
    if (progress) progress(position, text);
}

// Takes the freshly read chart over into the open chart; the selection list follows the
// player track.
void CommitLoadedChart(CChart& chart, CChart&& loaded, std::filesystem::path songPath) {
    chart.tracks = std::move(loaded.tracks);
    chart.player = std::move(loaded.player);
    chart.usedTrackCount = loaded.usedTrackCount;
    chart.songLengthMs = loaded.songLengthMs;
    chart.songInfo = std::move(loaded.songInfo);
    chart.songInfo.midiPath = PathText(songPath);
    chart.tempoMap = std::move(loaded.tempoMap);
    chart.RebuildSelectionFromPlayer();
}

// The song's tempo track gives the tempo map. A song that cannot be read leaves the map
// empty, and playback then starts at the default tempo.
void BuildTempoMapFromSong(CChart& chart, const std::vector<uint8_t>& songBytes) {
    CLibSmf song;
    CLibTrack tempoTrack;
    if (!song.OpenBytes(songBytes)) return;
    song.AddTrack(tempoTrack);
    if (song.Read()) chart.tempoMap.BuildTempoMap(tempoTrack, song.Resolution());
}

}  // namespace

Status LoadChartFile(CChart& chart, const std::filesystem::path& chartPath,
                     const std::filesystem::path& tempDir, const LoadProgress& progress, FileSystem& fs) {
    try {
        Report(progress, 1, "Initialize");
        CChartArchive archive;
        if (Status status = archive.Open(chartPath); !status) return status;
        std::vector<uint8_t> info;
        if (Status status = archive.ReadSegment("inf", info); !status) return status;
        std::vector<uint8_t> song;
        if (Status status = archive.ReadSegment("mid", song); !status) return status;
        archive.Close();

        CChart loaded;
        Report(progress, 2, "Create Tempo Map");
        BuildTempoMapFromSong(loaded, song);

        Report(progress, 3, "Manager Loading");
        loaded.ResetTracks();

        Report(progress, 4, "Tracks Loading");
        Status read = ReadChartInfoSegment(info, loaded);
        Report(progress, 5, "Select Player Loading");
        if (!read) {
            read.where = PathText(chartPath);
            return read;
        }
        FinishOpenedChart(loaded);

        // "inf.tmp" first: only a save reads it, and it rewrites it first. "mid.tmp" last and by
        // replacement only, so a failure leaves the song of the chart open before in place.
        const std::filesystem::path infoPath = tempDir / kInfoTempName;
        const std::filesystem::path songPath = tempDir / kSongTempName;
        if (Status status = WriteTemporaryFile(fs, infoPath, info); !status)
            return Status{ErrorCode::ExtractSegment, PathText(infoPath), {}, status.reason};
        if (Status status = ReplaceFileAtomically(fs, songPath, song, Durability::ThisRunOnly); !status)
            return Status{ErrorCode::ExtractSegment, PathText(songPath), {}, status.reason};

        CommitLoadedChart(chart, std::move(loaded), songPath);
        Report(progress, 6, "");
        return {};
    } catch (const std::bad_alloc&) {
        return Status::Fail(ErrorCode::OutOfMemory);
    }
}

Status SaveChartFile(CChart& chart, const std::filesystem::path& chartPath,
                     const std::filesystem::path& tempDir, FileSystem& fs, int32_t collisionWindow) {
    try {
        // The tracks first: a track too large to save is refused before select-all copies it.
        if (Status status = CheckStorable(chart, 0); !status) return status;
        SelectAllIfNoneSelected(chart, chart.songInfo.currentTrack, collisionWindow);
        if (Status status = CheckStorable(chart, chart.PlayerNotes().size()); !status) return status;

        ByteWriter info;
        WriteChartInfo(chart, info);
        chart.UpdatePlayerTrack();
        WriteTrackBlock(chart.player, info);

        const std::filesystem::path infoPath = tempDir / kInfoTempName;
        if (Status status = WriteTemporaryFile(fs, infoPath, info.Data()); !status)
            return Status{ErrorCode::CreateInfo, PathText(infoPath), {}, status.reason};

        return WriteChartArchive(chartPath, info.Data(), PathFromText(chart.songInfo.midiPath), fs);
    } catch (const std::bad_alloc&) {
        return Status::Fail(ErrorCode::OutOfMemory);
    }
}
