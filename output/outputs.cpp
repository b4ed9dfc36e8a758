#include "output/outputs.h"

#include <stdexcept>

#include "core/messages.h"
#include "output/matrix.h"
#include "output/spreadsheet.h"
#include "output/text_layout.h"

namespace tavik {

std::optional<OutputFileKind> FileKindOf(OutputMode mode) {
    switch (mode) {
        case OutputMode::Text: return OutputFileKind::Text;
        case OutputMode::Spreadsheet: return OutputFileKind::Spreadsheet;
        case OutputMode::ValueMatrix: return OutputFileKind::ValueMatrix;
        case OutputMode::PCordMatrix: return OutputFileKind::PCordMatrix;
        default: return std::nullopt;
    }
}

OutputReport WriteOutputFile(const Table& t, const OutputOptions& o, const std::string& path, Progress* progress) {
    OutputReport report;
    switch (o.mode) {
        case OutputMode::Text: report = WriteTextTable(t, o, path, progress); break;
        case OutputMode::Spreadsheet: report = WriteSpreadsheet(t, o, path, progress); break;
        case OutputMode::ValueMatrix: report = WriteValueMatrix(t, o, path, progress); break;
        case OutputMode::PCordMatrix: report = WritePCordMatrix(t, o, path, progress); break;
        default: throw std::invalid_argument(Tr("この出力はファイルに書きません"));
    }
    return report;
}

}  // namespace tavik
