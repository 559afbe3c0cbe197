#include "evidence/evidence.h"

#include "export/export_file.h"
#include "storage/civil_time.h"
#include "storage/file_io.h"

#include <openssl/evp.h>

#include <stdio.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace nivra::evidence {

namespace {

constexpr int kStillWidth = 480;
// A report of a day's events stays a document, not an album.
constexpr int kMaxStills = 200;
constexpr size_t kReadChunk = 1 << 20;
// Files hashed at once.
constexpr unsigned kHashThreads = 4;

struct DigestDeleter
{
    void operator()(EVP_MD_CTX *c) const { EVP_MD_CTX_free(c); }
};

std::string baseName(const std::string &path)
{
    size_t i = path.size();
    while (i > 0 && !exportIsSeparator(path[i - 1]))
        --i;
    return path.substr(i);
}

std::string joinPath(const std::string &folder, const std::string &name)
{
    if (!folder.empty() && exportIsSeparator(folder.back()))
        return folder + name;
    return folder + exportSeparator() + name;
}

std::string base64(const std::string &bytes)
{
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char *>(&out[0]),
                                  reinterpret_cast<const unsigned char *>(bytes.data()), int(bytes.size()));
    out.resize(size_t(std::max(0, n)));
    return out;
}

// "2024-05-14 09:05:03 (UTC+2)" for a UTC ms time shown at offsetSeconds.
std::string clockText(int64_t utcMs, int32_t offsetSeconds)
{
    const CivilTime t = civilFromSeconds(floorDivide(utcMs, 1000) + offsetSeconds);
    const int32_t a = offsetSeconds < 0 ? -offsetSeconds : offsetSeconds;
    char zone[16];
    if (a % 3600 == 0)
        snprintf(zone, sizeof zone, "UTC%c%d", offsetSeconds < 0 ? '-' : '+', int(a / 3600));
    else
        snprintf(zone, sizeof zone, "UTC%c%d:%02d", offsetSeconds < 0 ? '-' : '+', int(a / 3600),
                 int(a / 60 % 60));
    char text[64];
    snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d (%s)", t.year, t.month, t.day, t.hour,
             t.minute, t.second, offsetSeconds == 0 ? "UTC" : zone);
    return text;
}

std::string durationText(int64_t ms)
{
    const int64_t s = (ms + 500) / 1000;
    char text[32];
    snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
             static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
    return text;
}

std::string sizeText(uint64_t bytes)
{
    char text[48];
    snprintf(text, sizeof text, "%.1f MB (%llu bytes)", double(bytes) / 1e6,
             static_cast<unsigned long long>(bytes));
    return text;
}

// The camera's offset at a time: that of the recording range around it (or
// the nearest before it).
int32_t cameraOffset(const card_reader *card, int64_t utcMs)
{
    const uint32_t second = uint32_t(std::max<int64_t>(0, utcMs / 1000));
    int count = 0;
    if (card_ranges(card, 0, second, nullptr, 0, &count) == CARD_OK && count > 0) {
        std::vector<card_range> all(static_cast<size_t>(count));
        if (card_ranges(card, 0, second, all.data(), count, &count) == CARD_OK && count > 0)
            return int32_t(all[size_t(count) - 1].utc_offset_min) * 60;
    }
    card_range after{};
    if (card_ranges(card, second, 0xFFFFFFFFu, &after, 1, &count) == CARD_OK && count > 0)
        return int32_t(after.utc_offset_min) * 60;
    return 0;
}

std::string kindText(const Texts &texts, uint16_t kinds)
{
    std::string out;
    for (int bit = 0; bit < 5; ++bit)
        if (kinds & (1u << bit))
            out += (out.empty() ? "" : ", ") + texts.kinds[bit];
    return out;
}

// One row of the events and bookmarks, in time order.
struct Moment
{
    int64_t ms;
    std::string kind;
    std::string note;
};

int step(const Request &req, int *done, int total)
{
    ++*done;
    return req.progress ? req.progress(req.context, *done, total) : 0;
}

// Writes text to path under a temporary name, then renames it there.
bool writeFile(const std::string &path, const std::string &text)
{
    const std::string part = path + ".part";
    ExportFile *file = nullptr;
    if (exportFileCreate(part.c_str(), &file) != 0)
        return false;
    if (exportFileWriteAt(file, 0, text.data(), text.size()) != 0) {
        exportFileClose(file);
        exportFileDelete(part.c_str());
        return false;
    }
    if (exportFileCommit(file) != 0 ||
        (exportPathExists(path.c_str()) && exportFileDelete(path.c_str()) != 0) ||
        exportFileRename(part.c_str(), path.c_str()) != 0) {
        exportFileDelete(part.c_str());
        return false;
    }
    return true;
}

const char kStyle[] = R"(<style>
@page { size: A4; margin: 16mm; }
body { font-family: sans-serif; font-size: 10pt; color: #111; margin: 0 auto; max-width: 180mm; }
h1 { font-size: 18pt; margin: 0 0 4mm; }
h2 { font-size: 13pt; margin: 7mm 0 2mm; border-bottom: 1px solid #999; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; vertical-align: top; padding: 1mm 2mm; border-bottom: 1px solid #ddd; }
th { width: 32%; font-weight: 600; }
td.hash, span.hash { font-family: monospace; font-size: 8pt; word-break: break-all; }
figure { display: inline-block; margin: 0 2mm 3mm 0; width: 86mm; page-break-inside: avoid; }
figure img { width: 100%; border: 1px solid #ccc; }
figcaption { font-size: 9pt; }
tr, figure { break-inside: avoid; }
</style>)";

} // namespace

const char *error_name(int code)
{
    switch (code) {
    case EVIDENCE_OK:
        return "success";
    case EVIDENCE_CANCELLED:
        return "cancelled";
    case EVIDENCE_ERR_READ:
        return "cannot read a file to hash it";
    case EVIDENCE_ERR_WRITE:
        return "cannot write the evidence package";
    case EVIDENCE_ERR_ARGUMENT:
        return "nothing to put in an evidence package";
    default:
        return "unknown error";
    }
}

bool sha256_file(const std::string &path, std::string *hex, uint64_t *size)
{
    const storage::FileHandle file = storage::file_open(path.c_str());
    if (file == storage::kNoFile)
        return false;
    std::unique_ptr<EVP_MD_CTX, DigestDeleter> digest(EVP_MD_CTX_new());
    bool ok = digest && EVP_DigestInit_ex(digest.get(), EVP_sha256(), nullptr) == 1;
    std::vector<unsigned char> buffer(kReadChunk);
    uint64_t offset = 0;
    while (ok) {
        const int64_t n = storage::file_read_at(file, offset, buffer.data(), buffer.size());
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        ok = EVP_DigestUpdate(digest.get(), buffer.data(), size_t(n)) == 1;
        offset += uint64_t(n);
    }
    storage::file_close(file);
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!ok || EVP_DigestFinal_ex(digest.get(), md, &length) != 1)
        return false;
    static const char digits[] = "0123456789abcdef";
    hex->clear();
    for (unsigned int i = 0; i < length; ++i) {
        hex->push_back(digits[md[i] >> 4]);
        hex->push_back(digits[md[i] & 15]);
    }
    if (size)
        *size = offset;
    return true;
}

std::string html_escape(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            if ((unsigned char)c >= 0x20 || c == '\t' || c == '\n')
                out += c;
        }
    }
    return out;
}

namespace {

// One file to hash, and what came of it.
struct HashJob
{
    std::string path;
    std::string hex;
    uint64_t size = 0;
    bool ok = false;
};

// Hashes the files on up to kHashThreads threads, the calling thread among
// them (reading and hashing overlap, and SHA-256 runs on every core); only
// the calling thread reports progress. False when the progress cancelled.
bool hashAll(const Request &req, std::vector<HashJob> *jobs, int *done, int total)
{
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    const auto hashNext = [&]() -> bool {
        const size_t i = next++;
        if (stop || i >= jobs->size())
            return false;
        HashJob &job = (*jobs)[i];
        job.ok = sha256_file(job.path, &job.hex, &job.size);
        return true;
    };
    const int start = *done;
    const unsigned threads = std::max(1u, std::min(kHashThreads, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    for (unsigned k = 1; k < threads && k < jobs->size(); ++k)
        helpers.emplace_back([&] {
            while (hashNext()) {
            }
        });
    while (hashNext()) {
        if (step(req, done, total))
            stop = true;
    }
    for (std::thread &t : helpers)
        t.join();
    *done = start + int(jobs->size());
    return !stop;
}

} // namespace

int write_package(const Request &req, Result *out)
{
    Result local;
    Result &res = out ? *out : local;
    res = Result();
    if (!req.card || req.folder.empty() || req.clips.empty())
        return EVIDENCE_ERR_ARGUMENT;
    const Texts &tx = req.texts;
    const auto cell = [](const std::string &s) { return html_escape(s); };
    const auto computer = [&](int64_t ms) {
        return req.computerOffset ? req.computerOffset(floorDivide(ms, 1000)) : 0;
    };
    const int64_t rangeFrom = std::max(req.fromMs, req.clips.front().firstMs);
    const int64_t rangeTo = std::min(req.toMs, req.clips.back().lastMs);

    // What the range holds: the camera's events and the bookmarks.
    std::vector<Moment> moments;
    const uint32_t fromS = uint32_t(std::max<int64_t>(0, req.fromMs / 1000));
    const uint32_t toS = uint32_t(std::max<int64_t>(0, req.toMs / 1000));
    int eventCount = 0;
    if (card_events(req.card, fromS, toS, nullptr, 0, &eventCount) == CARD_OK && eventCount > 0) {
        std::vector<card_event> events(static_cast<size_t>(eventCount));
        int n = 0;
        if (card_events(req.card, fromS, toS, events.data(), eventCount, &n) != CARD_OK)
            n = 0;
        n = std::min(n, eventCount);
        for (int i = 0; i < n; ++i)
            moments.push_back(
                {int64_t(events[size_t(i)].first) * 1000, kindText(tx, events[size_t(i)].kinds), ""});
    }
    for (const Bookmark &b : req.bookmarks)
        if (b.ms >= req.fromMs && b.ms <= req.toMs)
            moments.push_back({b.ms, tx.bookmark, b.note});
    std::stable_sort(moments.begin(), moments.end(),
                     [](const Moment &a, const Moment &b) { return a.ms < b.ms; });

    // Hash every clip, then every segment file they were copied from, once.
    std::vector<uint16_t> segments;
    for (const Clip &c : req.clips)
        for (uint16_t s : c.segments)
            if (std::find(segments.begin(), segments.end(), s) == segments.end())
                segments.push_back(s);
    const int stillCount = std::min<int>(kMaxStills, int(moments.size()) + 1);
    const int total = int(req.clips.size() + segments.size()) + stillCount + 1;
    int done = 0;
    std::vector<HashJob> jobs;
    for (const Clip &c : req.clips)
        jobs.push_back({c.path, {}, 0, false});
    for (uint16_t s : segments) {
        char path[CARD_PATH_MAX + 32];
        if (card_segment_file(req.card, s, path, sizeof path) != CARD_OK) {
            res.message = std::to_string(s);
            return EVIDENCE_ERR_READ;
        }
        jobs.push_back({path, {}, 0, false});
    }
    if (!hashAll(req, &jobs, &done, total))
        return EVIDENCE_CANCELLED;
    for (const HashJob &job : jobs) {
        if (!job.ok) {
            res.message = job.path;
            return EVIDENCE_ERR_READ;
        }
    }
    std::vector<std::string> clipHashes;
    std::vector<uint64_t> clipSizes;
    for (size_t i = 0; i < req.clips.size(); ++i) {
        clipHashes.push_back(jobs[i].hex);
        clipSizes.push_back(jobs[i].size);
    }
    std::map<uint16_t, std::pair<std::string, uint64_t>> segmentHashes;
    for (size_t i = 0; i < segments.size(); ++i) {
        const HashJob &job = jobs[req.clips.size() + i];
        segmentHashes[segments[i]] = {job.hex, job.size};
        ++res.sources;
    }

    // The report.
    card_summary summary{};
    card_get_summary(req.card, &summary);
    const char *dir = card_directory(req.card);
    std::string h;
    h += "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + cell(tx.title) + "</title>\n";
    h += kStyle;
    h += "\n</head><body>\n<h1>" + cell(tx.title) + "</h1>\n";
    h += "<h2>" + cell(tx.card) + "</h2>\n<table>\n";
    h += "<tr><th>" + cell(tx.folder) + "</th><td>" + cell(dir ? dir : "") + "</td></tr>\n";
    h += "<tr><th>" + cell(tx.formatted) + "</th><td>" +
         cell(clockText(int64_t(summary.format_ms), cameraOffset(req.card, int64_t(summary.format_ms)))) +
         "</td></tr>\n";
    char identity[64] = {};
    card_identity(req.card, identity, sizeof identity);
    h += "<tr><th>" + cell(tx.identity) + "</th><td>" + cell(identity) + "</td></tr>\n";
    h += "</table>\n<h2>" + cell(tx.range) + "</h2>\n<table>\n";
    h += "<tr><th>" + cell(tx.cameraTime) + "</th><td>" +
         cell(clockText(rangeFrom, cameraOffset(req.card, rangeFrom))) + " – " +
         cell(clockText(rangeTo, cameraOffset(req.card, rangeTo))) + "</td></tr>\n";
    h += "<tr><th>" + cell(tx.computerTime) + "</th><td>" + cell(clockText(rangeFrom, computer(rangeFrom))) +
         " – " + cell(clockText(rangeTo, computer(rangeTo))) + "</td></tr>\n";
    h += "</table>\n<h2>" + cell(tx.files) + "</h2>\n";
    for (size_t i = 0; i < req.clips.size(); ++i) {
        const Clip &c = req.clips[i];
        h += "<table>\n<tr><th>" + cell(tx.name) + "</th><td>" + cell(baseName(c.path)) + "</td></tr>\n";
        h += "<tr><th>" + cell(tx.size) + "</th><td>" + sizeText(clipSizes[i]) + "</td></tr>\n";
        h += "<tr><th>" + cell(tx.duration) + "</th><td>" + durationText(c.durationMs) + " · " +
             cell(clockText(c.firstMs, int32_t(c.offsetMin) * 60)) + "</td></tr>\n";
        h += "<tr><th>SHA-256</th><td class=\"hash\">" + clipHashes[i] + "</td></tr>\n";
        h += "<tr><th>" + cell(tx.sourceFiles) + "</th><td>";
        for (uint16_t s : c.segments) {
            char name[32];
            snprintf(name, sizeof name, "seg_%03u.dat", unsigned(s));
            h += cell(name) + " · " + sizeText(segmentHashes[s].second) + "<br><span class=\"hash\">" +
                 segmentHashes[s].first + "</span><br>\n";
        }
        h += "</td></tr>\n</table>\n";
    }
    h += "<h2>" + cell(tx.events) + "</h2>\n<table>\n<tr><th>" + cell(tx.time) + "</th><td><b>" +
         cell(tx.kind) + "</b></td><td><b>" + cell(tx.note) + "</b></td></tr>\n";
    if (moments.empty())
        h += "<tr><td colspan=\"3\">" + cell(tx.none) + "</td></tr>\n";
    for (const Moment &m : moments)
        h += "<tr><th>" + cell(clockText(m.ms, cameraOffset(req.card, m.ms))) + "</th><td>" + cell(m.kind) +
             "</td><td>" + cell(m.note) + "</td></tr>\n";
    h += "</table>\n<h2>" + cell(tx.start) + "</h2>\n";
    std::vector<Moment> stills;
    stills.push_back({rangeFrom, tx.start, ""});
    for (const Moment &m : moments)
        if (int(stills.size()) < stillCount)
            stills.push_back(m);
    for (size_t i = 0; i < stills.size(); ++i) {
        if (i == 1)
            h += "<h2>" + cell(tx.events) + "</h2>\n";
        int64_t shown = stills[i].ms;
        const std::string png = still_png(req.card, stills[i].ms, kStillWidth, &shown);
        h += "<figure>";
        if (png.empty()) {
            h += "<p>" + cell(tx.noPicture) + "</p>";
        } else {
            h += "<img alt=\"\" src=\"data:image/png;base64," + base64(png) + "\">";
            ++res.stills;
        }
        h += "<figcaption>" + cell(clockText(shown, cameraOffset(req.card, shown))) + " · " +
             cell(stills[i].kind) + (stills[i].note.empty() ? "" : " · " + cell(stills[i].note)) +
             "</figcaption></figure>\n";
        if (step(req, &done, total))
            return EVIDENCE_CANCELLED;
    }
    const int64_t nowMs = int64_t(time(nullptr)) * 1000;
    h += "<h2>" + cell(tx.made) + "</h2>\n<table>\n";
    h += "<tr><th>" + cell(tx.made) + "</th><td>" + cell(req.program) + " " + cell(req.version) +
         "</td></tr>\n";
    h +=
        "<tr><th>" + cell(tx.madeAt) + "</th><td>" + cell(clockText(nowMs, computer(nowMs))) + "</td></tr>\n";
    h += "</table>\n<p>" + cell(tx.check) + "</p>\n</body></html>\n";

    res.report = joinPath(req.folder, "report.html");
    if (!writeFile(res.report, h)) {
        res.message = res.report;
        return EVIDENCE_ERR_WRITE;
    }
    // From here a failure takes the new report with it, and the manifest of
    // an earlier package in this folder, which no longer matches it.
    const auto fail = [&](int code, const std::string &path) {
        exportFileDelete(res.report.c_str());
        exportFileDelete(joinPath(req.folder, "SHA256SUMS").c_str());
        res.message = path;
        return code;
    };
    std::string reportHash;
    if (!sha256_file(res.report, &reportHash))
        return fail(EVIDENCE_ERR_READ, res.report);
    // The manifest last: its presence marks a finished package.
    std::string sums;
    for (size_t i = 0; i < req.clips.size(); ++i)
        sums += clipHashes[i] + "  " + baseName(req.clips[i].path) + "\n";
    sums += reportHash + "  report.html\n";
    res.manifest = joinPath(req.folder, "SHA256SUMS");
    if (!writeFile(res.manifest, sums))
        return fail(EVIDENCE_ERR_WRITE, res.manifest);
    step(req, &done, total);
    return EVIDENCE_OK;
}

} // namespace nivra::evidence
