// The field-data commands of the workspace: choosing a data file, its header record, the
// retrieval scan and the putting pass.
#include <memory>
#include <stdexcept>

#include "formats/fielddata.h"
#include "formats/workspace.h"

namespace tavik {

FieldFiles& Workspace::DataFiles() {
    if (!dataFiles_ || dataFilesPath_ != dataFileName || !dataFiles_->Unchanged()) {
        dataFiles_.reset();
        dataFiles_ = std::make_shared<FieldFiles>(dataFileName);
        dataFilesPath_ = dataFileName;
    }
    return *dataFiles_;
}

void Workspace::SetDataFile(const std::string& path) {
    // Throws, and nothing changes, when the pair cannot be opened.
    auto opened = std::make_shared<FieldFiles>(path);
    FieldFiles& files = *opened;
    dataFiles_ = std::move(opened);
    dataFilesPath_ = path;
    dataFileName = path;
    dataFileProblem = files.PairProblem();
    releveRecordCount = files.RecordCount();
    if (settings.useDataItem) {
        ApplyDataHeader(ParseDataHeader(files.HeaderRecord(), files.Utf8()), table, dataFileName);
        if (table.ReleveCount() == 0) table.ClearTable();
        else table.LayOutHeaderRows();
    }
    retrieval.Reset(releveRecordCount);
}

void Workspace::ReadDataHeader() {
    FieldFiles& files = DataFiles();
    releveRecordCount = files.RecordCount();
    ApplyDataHeader(ParseDataHeader(files.HeaderRecord(), files.Utf8()), table, dataFileName);
}

void Workspace::OpenRetrieval() { retrieval.Reset(releveRecordCount); }

ScanResult Workspace::Scan(const ScanParams& params, RetrievalProgress* progress) {
    // A bad class changes nothing; otherwise a new scan has cleared its flags even when
    // the files cannot be opened.
    Retrieval::CheckConditions(params);
    if (!params.additional) retrieval.BeginNewScan();
    FieldFiles& files = DataFiles();
    releveRecordCount = files.RecordCount();
    ScanResult res = retrieval.Scan(files, dict, params, progress);
    if (res.lastCodeK >= 0) scanCodeK_ = res.lastCodeK;
    if (res.lastCodeD >= 0) scanCodeD_ = res.lastCodeD;
    return res;
}

PutResult Workspace::PutIntoTable(RetrievalProgress* progress) {
    FieldFiles* files = nullptr;
    try {
        files = &DataFiles();
    } catch (const std::runtime_error&) {
        table.Recount();
        throw;
    }
    PutResult res = retrieval.Put(table, *files, dict, progress);
    if (res.lastCodeK < 0) res.lastCodeK = scanCodeK_;
    if (res.lastCodeD < 0) res.lastCodeD = scanCodeD_;
    scanCodeK_ = scanCodeD_ = -1;
    return res;
}

std::string Workspace::ProposedTitle() const {
    return table.TableTitle.empty() ? BaseNameWithoutExtension(dataFileName) : table.TableTitle;
}

std::string Workspace::StandardName(const std::string& name) const { return dict.SynToCommonName(TrimBlanks(name)); }

}  // namespace tavik
