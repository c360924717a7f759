#include "reports/TreeExport.h"

#include "framework/Drives.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Win32.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kHeader = "Path,Type,Size,On disk,Files,Last change,Attributes";
constexpr size_t kFields = 7;
constexpr size_t kFlushBytes = 1 << 20;
// A saved tree larger than this is refused before it is read.
constexpr std::uint64_t kLoadLimit = 2ull << 30;

struct AttributeLetter {
    char letter;
    DWORD attribute;
};
constexpr AttributeLetter kLetters[] = {
    {'R', FILE_ATTRIBUTE_READONLY},    {'H', FILE_ATTRIBUTE_HIDDEN},        {'S', FILE_ATTRIBUTE_SYSTEM},
    {'D', FILE_ATTRIBUTE_DIRECTORY},   {'A', FILE_ATTRIBUTE_ARCHIVE},       {'C', FILE_ATTRIBUTE_COMPRESSED},
    {'P', FILE_ATTRIBUTE_SPARSE_FILE}, {'L', FILE_ATTRIBUTE_REPARSE_POINT}, {'O', FILE_ATTRIBUTE_OFFLINE},
    {'E', FILE_ATTRIBUTE_ENCRYPTED},
};

std::string AttributeText(DWORD attributes)
{
    std::string text;
    for (const AttributeLetter& letter : kLetters) {
        if (attributes & letter.attribute)
            text += letter.letter;
    }
    return text;
}

std::optional<DWORD> AttributesOf(std::string_view text)
{
    DWORD attributes = 0;
    for (char c : text) {
        const AttributeLetter* found = std::find_if(std::begin(kLetters), std::end(kLetters),
                                                    [c](const AttributeLetter& letter) { return letter.letter == c; });
        if (found == std::end(kLetters))
            return std::nullopt;
        attributes |= found->attribute;
    }
    return attributes;
}

std::string TimeText(std::int64_t ticks)
{
    SYSTEMTIME time{};
    FILETIME file = framework::FileTimeFromTicks(static_cast<std::uint64_t>(ticks));
    if (ticks == INT64_MIN || ticks < 0 || !::FileTimeToSystemTime(&file, &time))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    return text;
}

std::optional<FILETIME> TimeOf(std::string_view text)
{
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char zone = 0;
    std::string copy(text);
    if (text.size() != 20 ||
        std::sscanf(copy.c_str(), "%4u-%2u-%2uT%2u:%2u:%2u%c", &year, &month, &day, &hour, &minute, &second, &zone) !=
            7 ||
        zone != 'Z')
        return std::nullopt;
    SYSTEMTIME time{
        static_cast<WORD>(year),   static_cast<WORD>(month),  0, static_cast<WORD>(day), static_cast<WORD>(hour),
        static_cast<WORD>(minute), static_cast<WORD>(second), 0};
    FILETIME file{};
    if (!::SystemTimeToFileTime(&time, &file))
        return std::nullopt;
    return file;
}

void AppendJsonText(std::string& json, std::string_view text)
{
    json += '"';
    for (char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    json += '"';
}

// The next CSV record from at, fields unquoted; false at the end or on a quote left open.
bool NextRecord(std::string_view text, size_t& at, std::vector<std::string>& fields)
{
    fields.clear();
    if (at >= text.size())
        return false;
    std::string field;
    bool quoted = false;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (at + 1 < text.size() && text[at + 1] == '"')
                field += text[++at];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' || c == '\n') {
            at += c == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
            break;
        } else {
            field += c;
        }
    }
    fields.push_back(std::move(field));
    return !quoted;
}

std::optional<std::uint64_t> NumberOf(std::string_view text)
{
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// One row of a saved tree, checked.
struct SavedRow {
    std::string path;
    bool folder = false;
    std::uint64_t size = 0, onDisk = 0, files = 0;
    FILETIME written{};
    DWORD attributes = 0;
};

std::optional<SavedRow> RowOf(std::vector<std::string>& fields, std::string& error)
{
    if (fields.size() != kFields) {
        error = "it has " + std::to_string(fields.size()) + " fields, not 7";
        return std::nullopt;
    }
    SavedRow row;
    row.path = std::move(fields[0]);
    row.folder = fields[1] == "folder";
    std::optional<std::uint64_t> size = NumberOf(fields[2]), onDisk = NumberOf(fields[3]), files = NumberOf(fields[4]);
    std::optional<FILETIME> written = fields[5].empty() ? std::optional<FILETIME>(FILETIME{}) : TimeOf(fields[5]);
    std::optional<DWORD> attributes = AttributesOf(fields[6]);
    if ((!row.folder && fields[1] != "file") || !size || !onDisk || !files || !written || !attributes ||
        row.path.empty() || (!row.folder && (*files > 1 || fields[5].empty()))) {
        error = "it is not a row of a saved analysis";
        return std::nullopt;
    }
    row.size = *size;
    row.onDisk = *onDisk;
    row.files = *files;
    row.written = *written;
    row.attributes = *attributes;
    return row;
}

bool ReadWhole(const std::string& path, std::string& text, std::string& error)
{
    framework::KernelHandle file(::CreateFileW(framework::WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) {
        error = "it cannot be read";
        return false;
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > kLoadLimit) {
        error = "it is larger than any saved analysis this program reads";
        return false;
    }
    text.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < text.size()) {
        DWORD read = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1 << 24));
        if (!::ReadFile(file.get(), text.data() + done, want, &read, nullptr) || read == 0) {
            error = "it cannot be read";
            return false;
        }
        done += read;
    }
    return true;
}

// Replays the rows after the header; the target is the last row's folder.
bool Replay(std::string_view text, size_t first, FolderAnalysis& analysis, std::string& error)
{
    std::vector<std::string> fields;
    std::optional<SavedRow> last;
    size_t line = 1, lines = 0;
    for (size_t at = first; NextRecord(text, at, fields);) {
        ++lines;
        if (!(last = RowOf(fields, error))) {
            error = "line " + std::to_string(lines + 1) + ": " + error;
            return false;
        }
    }
    if (!last || !last->folder) {
        error = "it ends before its last folder";
        return false;
    }
    std::string target = last->path;
    if (framework::IsDriveRoot(target) && target.size() == 3)
        target.pop_back();
    analysis.StartReplay(target);
    for (size_t at = first; NextRecord(text, at, fields);) {
        ++line;
        std::optional<SavedRow> row = RowOf(fields, error);
        bool placed = false;
        if (row->folder) {
            std::string folder = line - 1 == lines ? target : row->path;
            placed = analysis.ReplayFolder(folder, row->attributes);
            const FolderTotal total = line - 1 == lines ? analysis.Found() : analysis.Folders().back();
            placed = placed && total.bytes == row->size && total.onDisk == row->onDisk &&
                     static_cast<std::uint64_t>(total.files) == row->files;
        } else {
            size_t slash = row->path.find_last_of('\\');
            std::string name = slash == std::string::npos ? std::string() : row->path.substr(slash + 1);
            FileFacts file{name.c_str(), row->size, row->onDisk, row->written, row->attributes};
            placed = !name.empty() && analysis.ReplayFile(row->path.substr(0, slash), file, row->files == 1);
        }
        if (!placed) {
            error = "line " + std::to_string(line) + ": " + row->path + " does not fit the rows before it";
            return false;
        }
    }
    if (!analysis.FinishReplay()) {
        error = "it ends before its last folder";
        return false;
    }
    return true;
}

}  // namespace

TreeWriter::TreeWriter(ExportFile& file, TreeFormat format) : m_file(file), m_format(format)
{
    if (m_format == TreeFormat::Csv)
        m_buffer = CsvStart() + kHeader + "\r\n";
    else
        m_buffer = "[";
}

void TreeWriter::OnFile(const std::string& folder, const FileFacts& file, bool counted)
{
    std::string path = folder + '\\' + file.name;
    Write({path, false, file.size, file.onDisk, counted ? 1u : 0u,
           TimeText(static_cast<std::int64_t>(framework::FileTimeTicks(file.written))), file.attributes});
}

void TreeWriter::OnFolder(const ClosedFolder& folder)
{
    std::string path = folder.total.path;
    if (framework::IsDriveRoot(path) && path.size() == 2)
        path += '\\';
    Write({path, true, folder.total.bytes, folder.total.onDisk, static_cast<std::uint64_t>(folder.total.files),
           TimeText(folder.newest), folder.attributes});
}

void TreeWriter::WriteReport(const std::vector<ReportEntry>& entries, bool folders)
{
    for (const ReportEntry& entry : entries) {
        std::optional<std::uint64_t> onDisk;
        if (folders && entry.onDisk != framework::kUnknownBytes)
            onDisk = entry.onDisk;
        Write({entry.path, folders, entry.size, onDisk, folders ? static_cast<std::uint64_t>(entry.files) : 1,
               IsoDateText(entry.dateText), 0});
    }
}

void TreeWriter::Write(const Row& row)
{
    if (m_format == TreeFormat::Json) {
        WriteJson(row);
    } else {
        // Only the path may need quotes; the other fields are numbers, dates and letters.
        AppendCsvField(m_buffer, std::string(row.path));
        m_buffer += row.folder ? ",folder," : ",file,";
        m_buffer += std::to_string(row.size) + ',';
        if (row.onDisk)
            m_buffer += std::to_string(*row.onDisk);
        m_buffer +=
            ',' + std::to_string(row.files) + ',' + row.lastChange + ',' + AttributeText(row.attributes) + "\r\n";
    }
    if (m_buffer.size() >= kFlushBytes) {
        m_file.Write(m_buffer);
        m_buffer.clear();
    }
}

void TreeWriter::WriteJson(const Row& row)
{
    m_buffer += m_first ? "\n{\"path\":" : ",\n{\"path\":";
    m_first = false;
    AppendJsonText(m_buffer, row.path);
    m_buffer += row.folder ? ",\"type\":\"folder\",\"size\":" : ",\"type\":\"file\",\"size\":";
    m_buffer += std::to_string(row.size);
    m_buffer += ",\"onDisk\":" + (row.onDisk ? std::to_string(*row.onDisk) : std::string("null"));
    m_buffer += ",\"files\":" + std::to_string(row.files) + ",\"lastChange\":";
    if (row.lastChange.empty())
        m_buffer += "null";
    else
        AppendJsonText(m_buffer, row.lastChange);
    m_buffer += ",\"attributes\":";
    AppendJsonText(m_buffer, AttributeText(row.attributes));
    m_buffer += '}';
}

void TreeWriter::Finish()
{
    if (m_format == TreeFormat::Json)
        m_buffer += "\n]\n";
    m_file.Write(m_buffer);
    m_buffer.clear();
}

void WriteFileTypes(ExportFile& file, TreeFormat format, const FileTypes& types)
{
    std::string text = format == TreeFormat::Csv ? CsvStart() + "Extension,Class,Size,On disk,Files\r\n" : "[";
    for (const FileType& type : types.types) {
        const char* fileClass = kFileClassNames[static_cast<int>(type.fileClass)];
        if (format == TreeFormat::Csv) {
            AppendCsvField(text, ExtensionText(type.extension));
            text += ',';
            AppendCsvField(text, fileClass);
            text += ',' + std::to_string(type.size) + ',' + std::to_string(type.onDisk) + ',' +
                    std::to_string(type.files) + "\r\n";
            continue;
        }
        text += text.size() == 1 ? "\n{\"extension\":" : ",\n{\"extension\":";
        AppendJsonText(text, ExtensionText(type.extension));
        text += ",\"class\":";
        AppendJsonText(text, fileClass);
        text += ",\"size\":" + std::to_string(type.size) + ",\"onDisk\":" + std::to_string(type.onDisk) +
                ",\"files\":" + std::to_string(type.files) + '}';
    }
    if (format == TreeFormat::Json)
        text += "\n]\n";
    file.Write(text);
}

bool LoadTree(const std::string& path, FolderAnalysis& analysis, std::string& error)
{
    std::string text;
    if (!ReadWhole(path, text, error))
        return false;
    std::string_view rows = text;
    std::string header = CsvStart() + kHeader;
    if (rows.substr(0, header.size()) != header || rows.substr(header.size(), 2) != "\r\n") {
        error = "it is not an analysis saved by this program";
        return false;
    }
    return Replay(rows, header.size() + 2, analysis, error);
}
