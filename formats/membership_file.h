// Membership files: which group each relevé belongs to, as CSV with a heading line.
//
// Reading: the columns named "releve" (or "測定番号") and "group" (or "群") give the relevé
// number and its group label; other columns, such as the unnamed row-name column that R's
// write.csv puts first, are passed over. Fields may be quoted. UTF-8 or CP932.
// Writing: "position,releve,group" and one line per relevé, CP932 with CR LF (UTF-8 with a
// BOM when some number has no CP932 form), written atomically.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/classification.h"
#include "formats/atomic_file.h"

namespace tavik {

// (relevé number, group label) in the order of the file. Throws std::runtime_error naming
// the file and the line for a missing heading column or a line with too few fields.
std::vector<std::pair<std::string, std::string>> ParseMembership(std::string_view bytes, const std::string& fileName);
std::vector<std::pair<std::string, std::string>> ReadMembershipFile(const std::string& path);

std::string MembershipCsvText(const std::vector<MembershipLine>& lines);
void WriteMembershipFile(const std::string& path, const std::vector<MembershipLine>& lines,
                         AtomicFile::ReadOnlyTarget readOnly = AtomicFile::ReadOnlyTarget::Refuse);

// A dendrogram as a Newick file (UTF-8, as programs that read Newick expect).
void WriteNewickFile(const std::string& path, const std::string& newick,
                     AtomicFile::ReadOnlyTarget readOnly = AtomicFile::ReadOnlyTarget::Refuse);

}  // namespace tavik
