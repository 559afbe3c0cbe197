#include "scenario.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cardgen {

namespace {

// Times are ISO 8601 strings ("2024-03-05T10:00:00Z") or numbers of UTC ms.
bool readTime(const QJsonValue &v, int64_t *ms, std::string *error, const char *what)
{
    if (v.isDouble()) {
        *ms = int64_t(v.toDouble());
        return true;
    }
    if (v.isString()) {
        QDateTime dt = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
        if (dt.isValid()) {
            *ms = dt.toMSecsSinceEpoch();
            return true;
        }
    }
    *error = std::string("bad time for ") + what;
    return false;
}

int64_t secondsToMs(const QJsonValue &v)
{
    return int64_t(v.toDouble() * 1000.0 + 0.5);
}

bool readFrameRefs(const QJsonValue &v, std::vector<FrameRef> *out)
{
    for (const QJsonValue &e : v.toArray()) {
        QJsonObject o = e.toObject();
        if (!o.contains("segment") || !o.contains("frame"))
            return false;
        out->push_back(FrameRef{o.value("segment").toInt(), o.value("frame").toInt()});
    }
    return true;
}

std::vector<int> readInts(const QJsonValue &v)
{
    std::vector<int> out;
    for (const QJsonValue &e : v.toArray())
        out.push_back(e.toInt());
    return out;
}

bool inUnit(double v)
{
    return v >= 0.0 && v <= 1.0;
}

bool readScene(const QJsonValue &v, Scene *out, std::string *error)
{
    if (!v.isObject()) {
        *error = "scene must be an object";
        return false;
    }
    QJsonObject o = v.toObject();
    Scene scene;
    scene.present = true;
    scene.noise = o.value("noise").toInt(0);
    if (scene.noise < 0 || scene.noise > 40) {
        *error = "scene noise must be 0..40";
        return false;
    }
    for (const QJsonValue &e : o.value("objects").toArray()) {
        QJsonObject j = e.toObject();
        SceneObject ob;
        if (!readTime(j.value("start"), &ob.startMs, error, "scene object start"))
            return false;
        ob.lengthMs = secondsToMs(j.value("seconds"));
        ob.x = j.value("x").toDouble(-1);
        ob.y = j.value("y").toDouble(-1);
        ob.w = j.value("w").toDouble(0);
        ob.h = j.value("h").toDouble(0);
        ob.toX = j.value("toX").toDouble(ob.x);
        ob.toY = j.value("toY").toDouble(ob.y);
        ob.luma = j.value("luma").toInt(ob.luma);
        if (ob.lengthMs <= 0) {
            *error = "a scene object needs seconds > 0";
            return false;
        }
        // Both ends of the path inside the picture keep every position inside.
        if (!(ob.w > 0) || !(ob.h > 0) || !inUnit(ob.x) || !inUnit(ob.y) || !inUnit(ob.toX) ||
            !inUnit(ob.toY) || !inUnit(ob.x + ob.w) || !inUnit(ob.y + ob.h) || !inUnit(ob.toX + ob.w) ||
            !inUnit(ob.toY + ob.h)) {
            *error = "a scene object needs w, h > 0 and must stay inside the picture";
            return false;
        }
        if (ob.luma < 16 || ob.luma > 235) {
            *error = "scene object luma must be 16..235";
            return false;
        }
        scene.objects.push_back(ob);
    }
    for (const QJsonValue &e : o.value("lighting").toArray()) {
        QJsonObject j = e.toObject();
        LightingStep step;
        if (!readTime(j.value("at"), &step.atMs, error, "scene lighting at"))
            return false;
        step.delta = j.value("delta").toInt(0);
        if (step.delta < -219 || step.delta > 219) {
            *error = "scene lighting delta must be -219..219";
            return false;
        }
        scene.lighting.push_back(step);
    }
    for (const QJsonValue &e : o.value("sounds").toArray()) {
        QJsonObject j = e.toObject();
        SoundBurst b;
        if (!readTime(j.value("start"), &b.startMs, error, "scene sound start"))
            return false;
        b.lengthMs = secondsToMs(j.value("seconds"));
        b.dbfs = j.value("dbfs").toDouble(b.dbfs);
        // A sine at more than -3 dBFS RMS would clip.
        if (b.lengthMs <= 0 || !(b.dbfs >= -60.0 && b.dbfs <= -3.0)) {
            *error = "a scene sound needs seconds > 0 and dbfs -60..-3";
            return false;
        }
        scene.sounds.push_back(b);
    }
    *out = scene;
    return true;
}

} // namespace

bool parseScenario(const std::string &json, Scenario *out, std::string *error)
{
    QJsonParseError perr;
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &perr);
    if (doc.isNull() || !doc.isObject()) {
        *error = "scenario is not a JSON object: " + perr.errorString().toStdString();
        return false;
    }
    QJsonObject root = doc.object();
    Scenario s;

    QJsonObject v = root.value("video").toObject();
    QString codec = v.value("codec").toString("h264");
    if (codec == "h264")
        s.video.codec = VideoCodec::H264;
    else if (codec == "h265")
        s.video.codec = VideoCodec::H265;
    else {
        *error = "video.codec must be h264 or h265";
        return false;
    }
    s.video.width = v.value("width").toInt(s.video.width);
    s.video.height = v.value("height").toInt(s.video.height);
    s.video.fps = v.value("fps").toInt(s.video.fps);
    s.video.keyint = v.value("keyint").toInt(s.video.keyint);
    s.video.bitrate = v.value("bitrate").toInt(s.video.bitrate);
    // The time code needs 16 x 5 blocks of 16 pixels; encoders want even sizes.
    if (s.video.width < 256 || s.video.height < 96 || s.video.width > 4096 || s.video.height > 2304 ||
        (s.video.width & 1) || (s.video.height & 1)) {
        *error = "video size must be even, at least 256x96 and at most 4096x2304";
        return false;
    }
    if (s.video.fps < 1 || s.video.fps > 60 || s.video.keyint < 1 || s.video.bitrate < 10000) {
        *error = "video fps must be 1..60, keyint >= 1, bitrate >= 10000";
        return false;
    }

    QJsonObject a = root.value("audio").toObject();
    QString fmt = a.value("format").toString("aac-adts");
    if (fmt == "none")
        s.audio.format = AudioFormat::None;
    else if (fmt == "aac-adts")
        s.audio.format = AudioFormat::AacAdts;
    else if (fmt == "aac-raw")
        s.audio.format = AudioFormat::AacRaw;
    else if (fmt == "alaw")
        s.audio.format = AudioFormat::Alaw;
    else if (fmt == "unknown")
        s.audio.format = AudioFormat::Unknown;
    else {
        *error = "audio.format must be none, aac-adts, aac-raw, alaw or unknown";
        return false;
    }
    s.audio.rate = a.value("rate").toInt(s.audio.format == AudioFormat::Alaw ? 8000 : 16000);
    s.audio.channels = a.value("channels").toInt(1);
    s.audio.bitrate = a.value("bitrate").toInt(s.audio.bitrate);
    if (s.audio.format == AudioFormat::Alaw && s.audio.rate != 8000 && s.audio.rate != 16000) {
        *error = "A-law audio must be 8000 or 16000 Hz";
        return false;
    }
    if ((s.audio.format == AudioFormat::AacAdts || s.audio.format == AudioFormat::AacRaw) &&
        (s.audio.channels < 1 || s.audio.channels > 2 || s.audio.rate < 8000 || s.audio.rate > 48000)) {
        *error = "AAC audio must have 1 or 2 channels at 8000..48000 Hz";
        return false;
    }
    if (s.audio.format == AudioFormat::Alaw || s.audio.format == AudioFormat::AacRaw)
        s.audio.channels = s.audio.format == AudioFormat::Alaw ? 1 : s.audio.channels;

    if (root.contains("formatTime") &&
        !readTime(root.value("formatTime"), &s.formatTimeMs, error, "formatTime"))
        return false;

    s.pooled = root.value("pooled").toBool(false);
    s.poolGops = root.value("poolGops").toInt(s.poolGops);
    if (s.poolGops < 1 || s.poolGops > 4096) {
        *error = "poolGops must be 1..4096";
        return false;
    }

    for (const QJsonValue &e : root.value("spans").toArray()) {
        QJsonObject o = e.toObject();
        Span sp;
        if (!readTime(o.value("start"), &sp.startMs, error, "span start"))
            return false;
        sp.lengthMs = secondsToMs(o.value("seconds"));
        sp.offsetMin = o.value("offsetMin").toInt(0);
        if (o.contains("pooled"))
            sp.pooled = o.value("pooled").toBool() ? 1 : 0;
        if (sp.lengthMs < 1000 || sp.startMs < 1000) {
            *error = "a span needs a start after 1970 and at least 1 second";
            return false;
        }
        if (sp.offsetMin < -720 || sp.offsetMin > 840) {
            *error = "span offsetMin must be -720..840";
            return false;
        }
        s.spans.push_back(sp);
    }
    // A single day-spaced list can be long; "repeat" makes N copies of the
    // last span, each `every` seconds after the previous one.
    if (root.contains("repeat")) {
        QJsonObject r = root.value("repeat").toObject();
        int count = r.value("count").toInt(0);
        int64_t every = secondsToMs(r.value("every"));
        if (s.spans.empty() || count < 0 || every <= 0) {
            *error = "repeat needs spans, count >= 0 and every > 0";
            return false;
        }
        Span last = s.spans.back();
        for (int i = 1; i <= count; ++i) {
            Span sp = last;
            sp.startMs = last.startMs + every * i;
            s.spans.push_back(sp);
        }
    }
    if (s.spans.empty()) {
        *error = "scenario has no spans";
        return false;
    }
    for (size_t i = 1; i < s.spans.size(); ++i) {
        if (s.spans[i].startMs < s.spans[i - 1].startMs + s.spans[i - 1].lengthMs) {
            *error = "spans must be in time order and must not overlap";
            return false;
        }
    }
    if (root.contains("formatTime") == false)
        s.formatTimeMs = s.spans.front().startMs - 86400000;

    QJsonObject seg = root.value("segments").toObject();
    s.segmentSeconds = seg.value("seconds").toInt(s.segmentSeconds);
    s.segmentSizeLimit = uint32_t(seg.value("sizeLimit").toDouble(s.segmentSizeLimit));
    s.slotCount = seg.value("slots").toInt(s.slotCount);
    s.positionStart = seg.value("positionStart").toInt(0);
    s.numberStart = seg.value("numberStart").toInt(0);
    s.numberWrap = seg.value("numberWrap").toInt(0);
    s.indexSlots = seg.value("indexSlots").toInt(0);
    s.metaGeneration = uint32_t(seg.value("metaGeneration").toDouble(s.metaGeneration));
    if (s.numberWrap == 0)
        s.numberWrap = s.slotCount;
    if (s.indexSlots == 0)
        s.indexSlots = s.numberWrap;
    if (s.segmentSeconds < 1 || s.slotCount < 1 || s.slotCount > 65535 || s.numberWrap < s.slotCount ||
        s.numberWrap > 65536 || s.indexSlots < s.slotCount || s.indexSlots > 65535 || s.numberStart < 0 ||
        s.positionStart < 0 || s.segmentSizeLimit < 4096) {
        *error = "segments: need seconds >= 1, 1 <= slots <= indexSlots <= 65535, numberWrap >= slots, "
                 "sizeLimit >= 4096";
        return false;
    }

    QJsonObject tl = root.value("timeline").toObject();
    s.timelineHead = tl.value("head").toInt(0);
    s.timelineGeneration = uint32_t(tl.value("generation").toDouble(s.timelineGeneration));
    if (s.timelineHead < 0 || s.timelineHead >= 8192) {
        *error = "timeline.head must be 0..8191";
        return false;
    }

    for (const QJsonValue &e : root.value("events").toArray()) {
        QJsonObject o = e.toObject();
        EventSpec ev;
        if (!readTime(o.value("start"), &ev.startMs, error, "event start"))
            return false;
        ev.open = o.value("open").toBool(false);
        ev.lengthMs = secondsToMs(o.value("seconds"));
        ev.kinds = o.value("kinds").toInt(1);
        if (!ev.open && ev.lengthMs <= 0) {
            *error = "an event needs seconds > 0 or open: true";
            return false;
        }
        if (ev.kinds < 1 || ev.kinds > 0xFFFF) {
            *error = "event kinds must be 1..65535";
            return false;
        }
        s.events.push_back(ev);
    }

    QJsonObject d = root.value("damage").toObject();
    s.damage.deleteSegments = readInts(d.value("deleteSegments"));
    s.damage.metaBadChecksum = d.value("metaBadChecksum").toString().toStdString();
    s.damage.metaGenerationWrap = d.value("metaGenerationWrap").toBool(false);
    s.damage.version1 = d.value("version1").toBool(false);
    s.damage.newerVersion = d.value("newerVersion").toBool(false);
    s.damage.newerVersionBadChecksum = d.value("newerVersionBadChecksum").toBool(false);
    s.damage.indexHeaderCorrupt = d.value("indexHeaderCorrupt").toBool(false);
    s.damage.indexBlockBadChecksum = readInts(d.value("indexBlockBadChecksum"));
    if (!readFrameRefs(d.value("frameBadChecksum"), &s.damage.frameBadChecksum) ||
        !readFrameRefs(d.value("frameOverrun"), &s.damage.frameOverrun) ||
        !readFrameRefs(d.value("frameTimeBack"), &s.damage.frameTimeBack) ||
        !readFrameRefs(d.value("frameTimeAhead"), &s.damage.frameTimeAhead) ||
        !readFrameRefs(d.value("framePayloadGarbled"), &s.damage.framePayloadGarbled)) {
        *error = "damage frame lists need {segment, frame} objects";
        return false;
    }
    s.damage.timelineAbsent = d.value("timelineAbsent").toBool(false);
    s.damage.timelineBadHeader = d.value("timelineBadHeader").toString().toStdString();
    s.damage.timelineBadEntry = d.value("timelineBadEntry").toInt(-1);
    s.damage.timelineOpenNewest = d.value("timelineOpenNewest").toBool(false);
    if (!s.damage.metaBadChecksum.empty() && s.damage.metaBadChecksum != "A" &&
        s.damage.metaBadChecksum != "B") {
        *error = "damage.metaBadChecksum must be A or B";
        return false;
    }
    if (!s.damage.timelineBadHeader.empty() && s.damage.timelineBadHeader != "crc" &&
        s.damage.timelineBadHeader != "version") {
        *error = "damage.timelineBadHeader must be crc or version";
        return false;
    }

    if (root.contains("scene")) {
        if (!readScene(root.value("scene"), &s.scene, error))
            return false;
        s.video.quick = true;
        // Pooled pictures are reused at other times, so they could not show
        // what the scene holds then.
        bool anyPooled = s.pooled;
        for (const Span &sp : s.spans)
            anyPooled = anyPooled || sp.pooled == 1;
        if (anyPooled) {
            *error = "a scene needs every picture encoded at its own time: drop \"pooled\"";
            return false;
        }
        if (!s.scene.sounds.empty() &&
            (s.audio.format == AudioFormat::None || s.audio.format == AudioFormat::Unknown)) {
            *error = "scene sounds need AAC or A-law audio";
            return false;
        }
    }

    *out = s;
    return true;
}

} // namespace cardgen
