#include "formats/file_error.h"

#include <cerrno>
#include <cstring>

#include "core/messages.h"

namespace tavik {

std::string SystemReason(int err) {
    switch (err) {
        case ENOSPC: return Tr("容量不足");
        case EDQUOT: return Tr("容量の割り当てを超えました");
        case EACCES:
        case EPERM: return Tr("許可がありません");
        case EROFS: return Tr("読み取り専用の場所です");
        case ENOENT: return Tr("ありません");
        case ENOTDIR: return Tr("途中にフォルダでないものがあります");
        case EISDIR: return Tr("フォルダです");
        case ENAMETOOLONG: return Tr("名前が長すぎます");
        case EIO: return Tr("入出力エラー");
        case EFBIG: return Tr("ファイルが大きすぎます");
        case EMFILE:
        case ENFILE: return Tr("開いているファイルが多すぎます");
        case ENOMEM: return Tr("メモリ不足");
        case ELOOP: return Tr("シンボリックリンクが循環しています");
        case EXDEV: return Tr("別のファイルシステムです");
        case EBUSY: return Tr("使用中です");
        case ETXTBSY: return Tr("実行中のファイルです");
        default: break;
    }
    return std::strerror(err);
}

std::runtime_error FileError(const std::string& path, const std::string& what, int err) {
    const std::string m = Arg(what, {path});
    return std::runtime_error(err != 0 ? WithReason(m, SystemReason(err)) : m);
}

std::string FileLine(const std::string& file, std::uint64_t line) {
    return Arg(Tr("%1 の %2 行目"), {file, std::to_string(line)});
}

std::string WithReason(const std::string& message, const std::string& reason) {
    return Arg(Tr("%1（%2）"), {message, reason});
}

std::runtime_error WriteError(const std::string& path, int err) {
    return FileError(path, Tr("%1 に書き込めません"), err);
}

std::runtime_error ReadError(const std::string& path, int err) {
    return FileError(path, Tr("%1 を読み込めません"), err);
}

std::runtime_error WriteErrorBecause(const std::string& path, const std::string& reason) {
    return std::runtime_error(WithReason(Arg(Tr("%1 に書き込めません"), {path}), reason));
}

std::runtime_error ReadErrorBecause(const std::string& path, const std::string& reason) {
    return std::runtime_error(WithReason(Arg(Tr("%1 を読み込めません"), {path}), reason));
}

}  // namespace tavik
