#include "formats/file_error.h"

#include <cerrno>
#include <cstring>

namespace tavik {

std::string SystemReason(int err) {
    switch (err) {
        case ENOSPC: return "容量不足";
        case EDQUOT: return "容量の割り当てを超えました";
        case EACCES:
        case EPERM: return "許可がありません";
        case EROFS: return "読み取り専用の場所です";
        case ENOENT: return "ありません";
        case ENOTDIR: return "途中にフォルダでないものがあります";
        case EISDIR: return "フォルダです";
        case ENAMETOOLONG: return "名前が長すぎます";
        case EIO: return "入出力エラー";
        case EFBIG: return "ファイルが大きすぎます";
        case EMFILE:
        case ENFILE: return "開いているファイルが多すぎます";
        case ENOMEM: return "メモリ不足";
        case ELOOP: return "シンボリックリンクが循環しています";
        case EXDEV: return "別のファイルシステムです";
        case EBUSY: return "使用中です";
        case ETXTBSY: return "実行中のファイルです";
        default: break;
    }
    return std::strerror(err);
}

std::runtime_error FileError(const std::string& path, const std::string& what, int err) {
    std::string m = path + " " + what;
    if (err != 0) m += "（" + SystemReason(err) + "）";
    return std::runtime_error(m);
}

}  // namespace tavik
