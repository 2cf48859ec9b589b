#include "PaletteFill.h"

PaletteFields FillFromChart(const CChart& chart, std::string_view fileTitle,
                            const std::optional<std::string>& storedAuthor,
                            const std::function<std::string(int32_t)>& instrumentName) {
    const CSongInfo& info = chart.songInfo;
    PaletteFields fields;
    fields.title = info.title.empty() ? std::string(fileTitle) : info.title;
    fields.composer = info.composer.empty() ? "Unknown" : info.composer;
    fields.author = !info.author.empty() ? info.author : storedAuthor ? *storedAuthor : "Unknown";
    fields.extGenre = info.extGenre;
    fields.level = info.level;
    fields.genre = info.genre;
    for (const CNoteTrack& track : chart.tracks) {
        if (track.Count() == 0) break;
        const std::string name = instrumentName ? instrumentName(track.instrument) : std::string();
        fields.trackRows.push_back(std::to_string(track.Count()) + " " + name);
    }
    fields.selectedRow = 0;
    return fields;
}

void StorePaletteFields(const PaletteFields& fields, CSongInfo& info) {
    info.title = fields.title;
    info.composer = fields.composer;
    info.level = static_cast<int16_t>(fields.level);
    info.genre = static_cast<int16_t>(fields.genre);
    info.currentTrack = static_cast<int16_t>(fields.selectedRow);
    info.author = fields.author;
    info.extGenre = fields.extGenre;
}

std::string FilterExtendedGenre(const std::string& typed) {
    for (char c : typed) {
        if (static_cast<unsigned char>(c) >= 0x80) return {};
    }
    return typed;
}
