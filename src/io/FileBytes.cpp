#include "FileBytes.h"

#include <cerrno>
#include <fstream>

#include "PathText.h"

Status ReadFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& out, uint64_t maxBytes) {
    out.clear();
    const std::string where = PathText(path);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        Status status = Status::Fail(ErrorCode::OpenInput, where);
        status.reason = std::make_error_code(std::errc::is_a_directory).message();
        return status;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::FailWithSystemReason(ErrorCode::OpenInput, where);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return Status::FailWithSystemReason(ErrorCode::OpenInput, where);
    if (static_cast<uint64_t>(size) > maxBytes)
        return Status::Fail(ErrorCode::FileTooLarge, where,
                            "over " + std::to_string(maxBytes >> 20) + " MiB");
    in.seekg(0, std::ios::beg);
    try {
        out.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return Status::Fail(ErrorCode::OutOfMemory, where);
    }
    if (size > 0 && !in.read(reinterpret_cast<char*>(out.data()), size)) {
        out.clear();
        return Status::FailWithSystemReason(ErrorCode::OpenInput, where);
    }
    return {};
}
