#include "output/site_exports.h"

#include "core/covers.h"
#include "output/layout_common.h"
#include "output/output_file.h"

namespace tavik {

namespace {

std::string Value(const Table& t, int q, int row) {
    return std::string(layout::Trim(t.Text(Table::ReleveColumn(q), row)));
}

// The relevé label: the relevé number (grid row 2) without surrounding blanks.
std::string Label(const Table& t, int q) { return Value(t, q, 2); }

int RowOrThrow(const Table& t, int item) {
    const int row = t.HeaderRowOfItem(item);
    if (row == 0) throw MissingSiteItems();
    return row;
}

// Bytes from..from+width-1 (0-based) of a text of digits; a character is never split.
std::string Part(const std::string& s, int from, int width) {
    const auto pieces = layout::Pieces(s, 1, from + width, false);
    std::string out;
    for (int i = from; i < from + width; ++i) out += pieces[static_cast<std::size_t>(i)];
    return out;
}

std::string DegreesMinutesSeconds(const std::string& v) {
    return Part(v, 0, 3) + "'" + Part(v, 3, 2) + "'" + Part(v, 5, 2) + "'" + Part(v, 7, 1);
}

}  // namespace

void SiteData(const Table& t, LineSink& out) {
    std::string line;
    for (int row = 2; row < t.FNRow(); ++row) {
        if (row > 2) line += ',';
        line += layout::Trim(t.Text(2, row));
    }
    out.Line(line);
    for (int q = 1; q <= t.ReleveCount(); ++q) {
        line.clear();
        for (int row = 2; row < t.FNRow(); ++row) {
            if (row > 2) line += ',';
            line += Value(t, q, row);
        }
        out.Line(line);
    }
}

OutputReport WriteSiteData(const Table& t, const std::string& path, ReadOnlyTarget readOnly, TextEncoding encoding) {
    return WriteTextOutput(
        path, [&](LineSink& sink) { SiteData(t, sink); }, readOnly, encoding);
}

std::string GpsPointRecord(const std::string& label, const std::string& latitude, const std::string& longitude,
                           const std::string& altitude) {
    // Latitudes are written with three-digit degrees; missing digits are zeros.
    std::string lat = std::string(layout::Trim(latitude)) + "00000000";
    if (lat[0] != '0') lat.insert(0, 1, '0');
    const std::string lon = std::string(layout::Trim(longitude)) + "00000000";
    return "ORD=POI/tex=" + label + "/ido=" + DegreesMinutesSeconds(lat) + "/kei=" + DegreesMinutesSeconds(lon) +
           "/alt=+" + std::string(layout::Trim(altitude)) + "/col=12";
}

std::string GpsPoints(const Table& t) {
    const int latRow = RowOrThrow(t, 5), lonRow = RowOrThrow(t, 6), altRow = RowOrThrow(t, 8);
    std::string s = "DAT=WGS84/WGS84/0.000/0.00000000/0/0/0 ";
    for (int q = 1; q <= t.ReleveCount(); ++q) {
        s += GpsPointRecord(Label(t, q), t.Text(Table::ReleveColumn(q), latRow), t.Text(Table::ReleveColumn(q), lonRow),
                            t.Text(Table::ReleveColumn(q), altRow));
        s += "\r\n";
    }
    return s;
}

OutputReport WriteGpsPoints(const Table& t, const std::string& path, ReadOnlyTarget readOnly) {
    const std::string text = GpsPoints(t);
    return WriteTextOutput(
        path, [&](TextFileSink& sink) { sink.Text(text); }, readOnly);
}

std::string AltitudeClass(const std::string& altitude) {
    long long metres = 0;
    if (!ParseInteger(layout::Trim(altitude), metres)) return "99";
    std::string s = std::to_string(metres / 100);
    if (s.size() < 2) s.insert(0, 2 - s.size(), '0');
    return s;
}

void MeshData(const Table& t, LineSink& out) {
    const int meshRow = RowOrThrow(t, 7), altRow = RowOrThrow(t, 8);
    for (int q = 1; q <= t.ReleveCount(); ++q)
        out.Line(Value(t, q, meshRow) + "." + AltitudeClass(t.Text(Table::ReleveColumn(q), altRow)) + "," +
                 Label(t, q));
}

OutputReport WriteMeshData(const Table& t, const std::string& path, ReadOnlyTarget readOnly) {
    if (!HasItemsFor(t, SiteExport::MeshData)) throw MissingSiteItems();
    return WriteTextOutput(
        path, [&](LineSink& sink) { MeshData(t, sink); }, readOnly);
}

}  // namespace tavik
