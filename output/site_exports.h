// The site data of the relevés for other programs: site data as CSV, the relevés as GPS
// points, and their grid-mesh codes with an altitude class. One record per relevé column
// of the whole table, from the header rows; the species are not used.
#pragma once

#include <stdexcept>
#include <string>

#include "core/messages.h"
#include "core/table.h"
#include "output/line_sink.h"
#include "output/options.h"
#include "output/output_file.h"

namespace tavik {

// The table lacks a header item that the export needs; its message is
// kNoOutputDataMessage. Thrown before any file is touched.
struct MissingSiteItems : std::runtime_error {
    MissingSiteItems() : std::runtime_error(Tr(kNoOutputDataMessage)) {}
};

// 立地環境データ ("-plot.csv"): a heading of the captions of header rows 2.., then one line
// of values per relevé; texts without surrounding blanks.
void SiteData(const Table& t, LineSink& out);
OutputReport WriteSiteData(const Table& t, const std::string& path, ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse,
                           TextEncoding encoding = TextEncoding::Cp932);

// GPS　POTデータ (".pot"): the text "DAT=WGS84/WGS84/0.000/0.00000000/0/0/0 " followed on
// the same line by the first point record, then one record per relevé from items 5
// (latitude), 6 (longitude) and 8 (altitude). `out` receives the file's text with its CR LF
// line ends.
std::string GpsPoints(const Table& t);
OutputReport WriteGpsPoints(const Table& t, const std::string& path, ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse);
// One point record, as "ORD=POI/tex=R001/ido=035'45'12'3/kei=139'45'30'7/alt=+120/col=12".
std::string GpsPointRecord(const std::string& label, const std::string& latitude, const std::string& longitude,
                           const std::string& altitude);

// メッシュ分布データ (".grd"): per relevé "mesh.class,label" from items 7 and 8.
void MeshData(const Table& t, LineSink& out);
OutputReport WriteMeshData(const Table& t, const std::string& path, ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse);
// The altitude class: metres div 100 (towards zero), at least two digits; "99" when the
// altitude is not an integer.
std::string AltitudeClass(const std::string& altitude);

// The work messages of the three exports, shown through Tr().
inline constexpr const char* kSiteDataMessage = TrNoop("　立地環境データの出力中　");
inline constexpr const char* kGpsMessage = TrNoop("　ＧＰＳ形式の分布データの出力中　");
inline constexpr const char* kMeshMessage = TrNoop("　分布メッシュコードの出力中　");

}  // namespace tavik
