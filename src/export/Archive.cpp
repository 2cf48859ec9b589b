#include "Archive.h"

#include <zip.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "io/PathText.h"

namespace {

Status ArchiveFailure(const std::filesystem::path& archive, const char* reason) {
    Status status = Status::Fail(ErrorCode::WriteArchive, PathText(archive));
    if (reason) status.reason = reason;
    return status;
}

}  // namespace

Status ZipFolder(const std::filesystem::path& folder, const std::filesystem::path& archive) {
    int error = 0;
    zip_t* zip = zip_open(PathText(archive).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, error);
        Status status = ArchiveFailure(archive, zip_error_strerror(&reason));
        zip_error_fini(&reason);
        return status;
    }
    // In name order, so an export's archive is the same every time.
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
        zip_source_t* source = zip_source_file(zip, PathText(file).c_str(), 0, -1);
        if (!source || zip_file_add(zip, PathText(file.filename()).c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source) zip_source_free(source);
            Status status = ArchiveFailure(archive, zip_strerror(zip));
            zip_discard(zip);
            return status;
        }
    }
    // The archive is written here, as a whole, through a temporary file of libzip's own.
    if (zip_close(zip) != 0) {
        Status status = ArchiveFailure(archive, zip_strerror(zip));
        zip_discard(zip);
        return status;
    }
    return {};
}
