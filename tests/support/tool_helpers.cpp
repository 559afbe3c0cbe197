#include "tool_helpers.h"

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace exporttest {

static std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CommandResult run(const std::string &command)
{
    CommandResult r;
    char errPath[] = "/tmp/nivra-export-stderr-XXXXXX";
    int fd = mkstemp(errPath);
    if (fd < 0)
        return r;
    close(fd);
    std::string full = "( " + command + " ) 2>" + errPath;
    FILE *pipe = popen(full.c_str(), "r");
    if (!pipe) {
        unlink(errPath);
        return r;
    }
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        r.output.append(buf, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.errors = slurp(errPath);
    unlink(errPath);
    return r;
}

std::string makeTempDir()
{
    char path[] = "/tmp/nivra-export-test-XXXXXX";
    if (!mkdtemp(path))
        return std::string();
    return path;
}

void removeTree(const std::string &path)
{
    if (path.rfind("/tmp/nivra-export-", 0) == 0)
        run("rm -rf '" + path + "'");
}

std::vector<uint8_t> readFile(const std::string &path)
{
    std::string s = slurp(path);
    return std::vector<uint8_t>(s.begin(), s.end());
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

bool exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> listDir(const std::string &path)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(path.c_str())) {
        while (dirent *e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..")
                names.push_back(n);
        }
        closedir(d);
    }
    return names;
}

std::vector<Nal> splitNals(const std::vector<uint8_t> &s)
{
    std::vector<Nal> out;
    size_t i = 0, start = SIZE_MAX;
    auto emit = [&](size_t stop) {
        while (stop > start && s[stop - 1] == 0)
            --stop;
        if (stop > start)
            out.push_back(Nal{std::vector<uint8_t>(s.begin() + long(start), s.begin() + long(stop))});
    };
    while (i + 3 <= s.size()) {
        if (s[i] == 0 && s[i + 1] == 0 && s[i + 2] == 1) {
            if (start != SIZE_MAX)
                emit(i);
            i += 3;
            start = i;
        } else {
            ++i;
        }
    }
    if (start != SIZE_MAX)
        emit(s.size());
    return out;
}

int nalType(const Nal &nal, int codec)
{
    if (nal.bytes.empty())
        return -1;
    return codec == 1 ? (nal.bytes[0] & 0x1F) : ((nal.bytes[0] >> 1) & 0x3F);
}

std::vector<std::vector<uint8_t>> splitAccessUnits(const std::vector<uint8_t> &stream, int codec)
{
    std::vector<std::vector<uint8_t>> aus;
    int aud = codec == 1 ? 9 : 35;
    for (const Nal &n : splitNals(stream)) {
        if (nalType(n, codec) == aud || aus.empty())
            aus.emplace_back();
        std::vector<uint8_t> &au = aus.back();
        static const uint8_t sc[4] = {0, 0, 0, 1};
        au.insert(au.end(), sc, sc + 4);
        au.insert(au.end(), n.bytes.begin(), n.bytes.end());
    }
    return aus;
}

bool isKeyframe(const std::vector<uint8_t> &au, int codec)
{
    for (const Nal &n : splitNals(au)) {
        int t = nalType(n, codec);
        if (codec == 1 && t == 5)
            return true;
        if (codec == 2 && t >= 16 && t <= 21)
            return true;
    }
    return false;
}

std::vector<std::vector<uint8_t>> splitAdts(const std::vector<uint8_t> &s)
{
    std::vector<std::vector<uint8_t>> frames;
    size_t pos = 0;
    while (pos + 7 <= s.size() && s[pos] == 0xFF && (s[pos + 1] & 0xF6) == 0xF0) {
        size_t len = (size_t(s[pos + 3] & 3) << 11) | (size_t(s[pos + 4]) << 3) | (s[pos + 5] >> 5);
        if (len < 7 || pos + len > s.size())
            break;
        frames.emplace_back(s.begin() + long(pos), s.begin() + long(pos + len));
        pos += len;
    }
    return frames;
}

std::vector<std::string> fields(const std::string &text, const std::string &key)
{
    std::vector<std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            values.push_back(line.substr(key.size() + 1));
    }
    return values;
}

std::string field(const std::string &text, const std::string &key)
{
    std::vector<std::string> v = fields(text, key);
    return v.empty() ? std::string() : v.front();
}

} // namespace exporttest
