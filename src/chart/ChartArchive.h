#pragma once
// The chart file container.
//
// Layout (little-endian): entry count (4), then 20-byte entries (segment offset from the start
// of the file (4), name of up to 16 bytes ending in a zero byte), then the segments back to
// back. A segment runs from its entry's offset to the next entry's offset; the writer's
// entries are "inf" (chart information), "mid" (the song as a Standard MIDI File) and "EOF",
// whose offset is the file length.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/FileSystem.h"
#include "io/Status.h"

inline constexpr std::size_t kArchiveEntryBytes = 20;

// Joins the chart information file and the song file into the chart file at `outputPath`.
// The file is replaced only once the new one is complete, on disk and reads back as
// written; on failure the old file is untouched and no partial file is left.
Status WriteChartArchive(const std::filesystem::path& outputPath, const std::filesystem::path& infPath,
                         const std::filesystem::path& midiPath, FileSystem& fs = NativeFileSystem());

// The same with the chart information already in memory (the save has just written it to
// "inf.tmp" and need not read it back).
Status WriteChartArchive(const std::filesystem::path& outputPath, std::span<const uint8_t> info,
                         const std::filesystem::path& midiPath, FileSystem& fs = NativeFileSystem());

// Reads a chart file container. Every offset and count is checked against the file's size
// before anything is read or allocated.
class CChartArchive {
  public:
    struct Entry {
        uint32_t offset = 0;
        std::string name;
    };

    CChartArchive() = default;
    CChartArchive(const CChartArchive&) = delete;
    CChartArchive& operator=(const CChartArchive&) = delete;
    ~CChartArchive() { Close(); }

    // Opens a container file and reads its entry table. Fails with AlreadyOpen (leaving the
    // open one as it is), ArchiveIsFolder, OpenArchive or NotAnArchive.
    Status Open(const std::filesystem::path& path);
    // The same over bytes held in memory.
    Status OpenBytes(std::vector<uint8_t> bytes);

    // The bytes of the first segment whose name matches `name` (ignoring case, over at most
    // 13 characters). MissingSegment when no entry matches, SegmentWithoutEnd when the match
    // is the last entry, SegmentPastEnd or SegmentsOutOfOrder naming the entry whose offset
    // is wrong. Every failure names the file.
    Status ReadSegment(std::string_view name, std::vector<uint8_t>& out);

    // True when segment `name` exists and holds exactly `expected`; compares piece by piece
    // without reading the segment into memory.
    bool SegmentEquals(std::string_view name, std::span<const uint8_t> expected);

    // Writes segment `name` to the temporary file `outputPath`, replacing it only when complete.
    Status Extract(std::string_view name, const std::filesystem::path& outputPath,
                   FileSystem& fs = NativeFileSystem());

    void Close();
    bool IsOpen() const { return open; }
    const std::vector<Entry>& Entries() const { return entries; }
    uint64_t Size() const { return size; }

  private:
    Status ReadTable();
    // Bounds [begin, end) of segment `name` within the file.
    Status FindSegment(std::string_view name, uint64_t& begin, uint64_t& end) const;
    bool ReadAt(uint64_t offset, std::span<uint8_t> out);

    std::ifstream file;
    std::string where;  // the open file's path text, for messages
    std::vector<uint8_t> memory;
    bool inMemory = false;
    bool open = false;
    uint64_t size = 0;
    std::vector<Entry> entries;
};

// Entry names compare as the container has always compared them: without regard to case,
// over at most 13 characters.
bool ArchiveNamesMatch(std::string_view a, std::string_view b);
