// Opening a recording directory: acceptance order, meta copy selection and
// the card summary.
#include "card_builder.h"

#include "storage/crc.h"

#include <filesystem>

#include <sys/stat.h>

using namespace cardtest;

namespace {

constexpr uint32_t T0 = 1700000000;

// A card with one segment of 10 s and its file.
void one_segment(Card &c)
{
    SegmentSpec s;
    s.number = 1;
    s.first = T0;
    s.last = T0 + 9;
    c.add_segment(s);
}

int open_code(const std::string &path)
{
    card_reader *card = nullptr;
    int rc = card_open(path.c_str(), &card);
    EXPECT_EQ(rc == 0, card != nullptr);
    card_close(card);
    return rc;
}

card_summary summary_of(const Card &c)
{
    card_summary s{};
    card_reader *card = c.open();
    if (card) {
        EXPECT_CODE(0, card_get_summary(card, &s));
    }
    card_close(card);
    return s;
}

} // namespace

TEST(Checksums, PublishedCheckValues)
{
    const char *text = "123456789";
    EXPECT_EQ(0xCBF43926u, nivra::storage::crc32(text, 9));
    EXPECT_EQ(0x29B1u, nivra::storage::crc16_ccitt(text, 9));
    EXPECT_EQ(0u, nivra::storage::crc32(text, 0));
    EXPECT_EQ(0xFFFFu, nivra::storage::crc16_ccitt(text, 0));
}

TEST(ErrorNames, EveryCodeHasItsText)
{
    EXPECT_STREQ("ok", card_error_name(0));
    EXPECT_STREQ("no more recordings", card_error_name(1));
    EXPECT_STREQ("invalid argument", card_error_name(-1));
    EXPECT_STREQ("no recording directory (meta.dat / index.dat not found)", card_error_name(-2));
    EXPECT_STREQ("recorded by old firmware (format v1), not supported", card_error_name(-3));
    EXPECT_STREQ("recording format is newer than this program", card_error_name(-4));
    EXPECT_STREQ("recording index is corrupt", card_error_name(-5));
    EXPECT_STREQ("read error", card_error_name(-6));
    EXPECT_STREQ("out of memory", card_error_name(-7));
    EXPECT_STREQ("reader has no pending frame", card_error_name(-8));
    EXPECT_STREQ("buffer too small", card_error_name(-9));
    EXPECT_STREQ("unknown error", card_error_name(-10));
    EXPECT_STREQ("unknown error", card_error_name(2));
}

TEST(Open, RejectsBadArguments)
{
    card_reader *card = reinterpret_cast<card_reader *>(0x1);
    EXPECT_CODE(-1, card_open(nullptr, &card));
    EXPECT_EQ(nullptr, card);
    EXPECT_CODE(-1, card_open("/tmp", nullptr));
    EXPECT_CODE(-1, open_code(""));
    EXPECT_CODE(-1, open_code(std::string(1024, 'a')));
    // 1023 bytes after the separators are removed is allowed (and absent).
    EXPECT_CODE(-2, open_code(std::string(1023, 'a') + "//\\"));
    EXPECT_CODE(-1, open_code(std::string(1024, 'a') + "/"));
}

TEST(Open, NullHandlesCloseQuietly)
{
    card_close(nullptr);
    cursor_close(nullptr);
}

TEST(Open, NeedsMetaAndIndexFiles)
{
    Card c;
    one_segment(c);
    c.write();
    c.remove_file("meta.dat");
    EXPECT_CODE(-2, open_code(c.dir));
    c.write();
    c.remove_file("index.dat");
    EXPECT_CODE(-2, open_code(c.dir));
    // A directory of the same name counts as absent.
    std::filesystem::create_directory(c.path("index.dat"));
    EXPECT_CODE(-2, open_code(c.dir));
    EXPECT_CODE(-2, open_code(c.dir + "/nothing-here"));
}

TEST(Open, PathThatIsNotUtf8CannotBeOpened)
{
    Card c;
    one_segment(c);
    c.write();
    EXPECT_CODE(-2, open_code(c.dir + "/\xC3\x28/.."));
}

TEST(Open, TrailingSeparatorsAreIgnored)
{
    Card c;
    one_segment(c);
    c.write();
    EXPECT_CODE(0, open_code(c.dir + "\\\\"));
    EXPECT_CODE(0, open_code(c.dir + "/"));
    EXPECT_CODE(0, open_code(c.dir + "//\\/"));
}

TEST(Open, LaterGenerationWinsWithWrapping)
{
    Card c;
    one_segment(c);
    Meta b = c.meta;
    c.meta.generation = 0xFFFFFFFFu;
    c.meta.segment_size = 1000000;
    c.meta.segment_count = 1;
    b.generation = 0;
    b.segment_size = 2000000;
    b.segment_count = 1;
    c.meta_b = meta_record(b);
    c.write();
    EXPECT_EQ(2000000u, summary_of(c).segment_size) << "copy B (generation 0) is current";

    c.meta.generation = 7;
    b.generation = 6;
    c.meta_b = meta_record(b);
    c.write();
    EXPECT_EQ(1000000u, summary_of(c).segment_size) << "copy A (generation 7) is current";

    b.generation = 7;
    c.meta_b = meta_record(b);
    c.write();
    EXPECT_EQ(1000000u, summary_of(c).segment_size) << "equal generations keep copy A";
}

TEST(Open, ValidCopyIsUsedWhenTheOtherIsDamaged)
{
    Card c;
    one_segment(c);
    c.meta.segment_size = 1000000;
    Meta b = c.meta;
    b.generation = 50;
    b.segment_size = 2000000;
    b.segment_count = 1;
    b.bad_crc = true;
    c.meta_b = meta_record(b);
    c.write();
    EXPECT_EQ(1000000u, summary_of(c).segment_size);

    // Copy A damaged, copy B valid.
    Meta a = c.meta;
    a.segment_count = 1;
    a.bad_crc = true;
    b.bad_crc = false;
    Bytes bytes = meta_record(a);
    Bytes copy_b = meta_record(b);
    bytes.insert(bytes.end(), copy_b.begin(), copy_b.end());
    c.meta_bytes = bytes;
    c.write();
    EXPECT_EQ(2000000u, summary_of(c).segment_size);

    // Copy B with version 3 is not valid, even with a right checksum.
    b.version = 3;
    c.meta_bytes.clear();
    c.meta_b = meta_record(b);
    c.write();
    EXPECT_EQ(1000000u, summary_of(c).segment_size);
}

TEST(Open, ShortMetaFileReadsAsZeros)
{
    Card c;
    one_segment(c);
    c.meta.segment_count = 1;
    c.meta_bytes = meta_record(c.meta); // copy A only, 64 bytes
    c.write();
    EXPECT_CODE(0, open_code(c.dir));
    c.meta_bytes.resize(63);
    c.write();
    EXPECT_CODE(-5, open_code(c.dir));
    c.meta_bytes.clear();
    c.meta_bytes.push_back(0);
    c.write();
    EXPECT_CODE(-5, open_code(c.dir));
    c.write_file("meta.dat", {});
    EXPECT_CODE(-5, open_code(c.dir));
}

TEST(Open, NewerVersionNeedsAnIntactRecord)
{
    Card c;
    one_segment(c);
    Meta m = c.meta;
    m.segment_count = 1;
    m.version = 3;
    Bytes b = meta_record(m);
    // Only copy B newer and intact, copy A garbage.
    Bytes mixed(64, 0x11);
    mixed.insert(mixed.end(), b.begin(), b.end());
    c.meta_bytes = mixed;
    c.write();
    EXPECT_CODE(-4, open_code(c.dir));

    // Version 3 with broken checksums in both copies is damage, not a newer
    // format: flipped bits must not send the user to an update.
    m.bad_crc = true;
    Bytes bytes = meta_record(m);
    b = meta_record(m);
    bytes.insert(bytes.end(), b.begin(), b.end());
    c.meta_bytes = bytes;
    c.write();
    EXPECT_CODE(-5, open_code(c.dir));

    // The right magic with version 1 in the 64-byte layout is corrupt.
    m.version = 1;
    c.meta_bytes = meta_record(m);
    c.write();
    EXPECT_CODE(-5, open_code(c.dir));

    // A wrong magic with a high version is corrupt.
    m.version = 9;
    m.magic = 0x12345678;
    c.meta_bytes = meta_record(m);
    c.write();
    EXPECT_CODE(-5, open_code(c.dir));
}

TEST(Open, OldFirmwareIsRecognised)
{
    Card c;
    one_segment(c);
    c.write();
    // A version-1 record at offset 40 only.
    Bytes bytes(40, 0x33);
    Bytes v1 = meta_v1_record(4);
    bytes.insert(bytes.end(), v1.begin(), v1.end());
    c.write_file("meta.dat", bytes);
    EXPECT_CODE(-3, open_code(c.dir));
    // At offset 0 only, in an 40-byte file.
    c.write_file("meta.dat", v1);
    EXPECT_CODE(-3, open_code(c.dir));
    // Damaged version-1 records are corrupt.
    Bytes bad = meta_v1_record(4, true);
    Bytes both = bad;
    both.insert(both.end(), bad.begin(), bad.end());
    c.write_file("meta.dat", both);
    EXPECT_CODE(-5, open_code(c.dir));
    // A valid version-2 copy wins over a version-1 record.
    Meta m = c.meta;
    m.segment_count = 1;
    Bytes v2 = meta_record(m);
    Bytes v2_then_v1(64, 0);
    v2_then_v1.insert(v2_then_v1.end(), v2.begin(), v2.end());
    std::copy(v1.begin(), v1.end(), v2_then_v1.begin());
    c.write_file("meta.dat", v2_then_v1);
    EXPECT_CODE(0, open_code(c.dir));
}

TEST(Open, EmptySegmentTableIsCorrupt)
{
    Card c;
    c.write(); // no table entries: count 0
    EXPECT_CODE(-5, open_code(c.dir));
}

TEST(Open, IndexHeaderAndTableDamage)
{
    Card c;
    one_segment(c);
    c.write();
    ASSERT_CODE(0, open_code(c.dir));

    c.index_bad_crc = true;
    c.write();
    EXPECT_CODE(-5, open_code(c.dir)) << "index header checksum";
    c.index_bad_crc = false;

    Bytes index = c.index_bytes();
    Bytes wrong_magic = index;
    wrong_magic[0] ^= 0xFF;
    c.write_file("index.dat", wrong_magic);
    EXPECT_CODE(-5, open_code(c.dir)) << "index magic";

    c.write_file("index.dat", Bytes(index.begin(), index.begin() + 31));
    EXPECT_CODE(-5, open_code(c.dir)) << "31 header bytes";

    c.write_file("index.dat", Bytes(index.begin(), index.begin() + 32 + 11));
    EXPECT_CODE(-5, open_code(c.dir)) << "11 of 12 table bytes";
    c.write_file("index.dat", Bytes(index.begin(), index.begin() + 32 + 12));
    EXPECT_CODE(0, open_code(c.dir)) << "the table is all that must be readable";

    c.slot_count = 0;
    c.write();
    EXPECT_CODE(-5, open_code(c.dir)) << "slot count below N";
    c.slot_count = 1;
    c.write();
    EXPECT_CODE(0, open_code(c.dir)) << "slot count equal to N";

    // The meta count is what is read: two entries asked of a one-entry table.
    c.slot_count = 2;
    c.meta.segment_count = 2;
    c.blocks.clear(); // the file ends with the one-entry table
    c.write();
    EXPECT_CODE(-5, open_code(c.dir));

    // A table offset far past the end of the file.
    c.meta.segment_count = 0;
    c.write();
    Bytes header(32, 0);
    put32(header, 0, 0x53494458);
    put16(header, 6, 8);
    put32(header, 12, 0xFFFFFFF0u);
    put32(header, 28, nivra::storage::crc32(header.data(), 28));
    c.write_file("index.dat", header);
    EXPECT_CODE(-5, open_code(c.dir));
}

TEST(Open, MissingFilesAndBadBlocksAreAccepted)
{
    Card c;
    SegmentSpec s;
    s.number = 7;
    s.first = T0;
    s.last = T0 + 9;
    c.add_segment(s);
    s.number = 1000;
    s.first = T0 + 10;
    s.last = T0 + 19;
    c.add_segment(s);
    s.number = 3;
    s.first = T0 + 20;
    s.last = T0 + 29;
    s.write_file = false;
    c.add_segment(s);
    c.table.push_back({T0 + 30, T0 + 39, 4, 0, 0}); // free slot
    c.table.push_back({0, T0 + 49, 5, 1, 0});       // no first second
    c.table.push_back({T0 + 59, T0 + 50, 6, 2, 0}); // last before first
    c.table.push_back({T0 + 60, T0 + 60, 8, 2, 0}); // valid, one second, absent
    c.block_bad_crc[7] = true;
    c.slot_count = 1001;
    c.block_stride = 20 + 16 * 10;
    c.write();
    EXPECT_TRUE(std::filesystem::exists(c.path("seg_007.dat")));
    EXPECT_TRUE(std::filesystem::exists(c.path("seg_1000.dat")));

    card_summary sum = summary_of(c);
    EXPECT_EQ(7u, sum.segment_count);
    EXPECT_EQ(4u, sum.valid_segments);
    EXPECT_EQ(2u, sum.present_segments);
    EXPECT_EQ(T0, sum.first_second);
    EXPECT_EQ(T0 + 60, sum.last_second);
    EXPECT_EQ(1700000000000ull, sum.format_ms);
    EXPECT_EQ(64u << 20, sum.segment_size);

    // A directory named like a segment file counts as absent.
    std::filesystem::create_directory(c.path("seg_003.dat"));
    EXPECT_EQ(2u, summary_of(c).present_segments);
}

TEST(Open, SummaryRejectsNullArguments)
{
    Card c;
    one_segment(c);
    c.write();
    card_reader *card = c.open();
    card_summary s{};
    EXPECT_CODE(-1, card_get_summary(nullptr, &s));
    EXPECT_CODE(-1, card_get_summary(card, nullptr));
    card_close(card);
}

TEST(Open, NoValidSegmentStillOpens)
{
    Card c;
    c.table.push_back({T0, T0 + 5, 1, 0, 0});
    c.write();
    card_reader *card = c.open();
    card_summary s{};
    EXPECT_CODE(0, card_get_summary(card, &s));
    EXPECT_EQ(0u, s.valid_segments);
    EXPECT_EQ(0u, s.first_second);
    EXPECT_EQ(0u, s.last_second);
    EXPECT_TRUE(ranges_of(card).empty());
    card_close(card);
}

namespace {

TEST(Open, NamedPipesAreNotCardFiles)
{
    // Opening a pipe for reading blocks until a writer comes: a pipe in place
    // of a card file must be refused at once, whichever file it replaces.
    struct Case
    {
        const char *file;
        int code;
        uint32_t present; // segments present when the card opens
    };
    for (const Case &k : {Case{"meta.dat", -2, 0}, Case{"index.dat", -2, 0}, Case{"timeline.dat", 0, 1},
                          Case{"seg_001.dat", 0, 0}}) {
        Card c;
        one_segment(c);
        c.write();
        const std::string path = c.dir + "/" + k.file;
        std::filesystem::remove(path);
        ASSERT_EQ(0, mkfifo(path.c_str(), 0600)) << k.file;
        card_reader *card = nullptr;
        EXPECT_CODE(k.code, card_open(c.dir.c_str(), &card)) << k.file;
        if (card) {
            card_summary s{};
            EXPECT_CODE(0, card_get_summary(card, &s));
            EXPECT_EQ(k.present, s.present_segments) << k.file;
            card_stream stream{};
            EXPECT_CODE(k.present ? 0 : 1, card_probe_stream(card, 0, &stream)) << k.file;
        }
        card_close(card);
    }
}

} // namespace
