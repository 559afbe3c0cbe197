#include "simcard.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace nivra::test {

const char *cardgenPath()
{
    return NIVRA_CARDGEN_PATH;
}

const char *stampreadPath()
{
    return NIVRA_STAMPREAD_PATH;
}

TempDir::TempDir(const char *tag)
{
    std::string tmpl = std::string("/tmp/") + (tag ? tag : "nivra") + ".XXXXXX";
    if (mkdtemp(tmpl.data()))
        m_path = tmpl;
}

TempDir::~TempDir()
{
    if (!m_path.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
}

std::string shellQuote(const std::string &s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

int runCommand(const std::string &command, std::string *output)
{
    std::FILE *p = popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return -1;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        if (output)
            output->append(buf, n);
    int status = pclose(p);
    if (status == -1 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool generatePresetCard(const std::string &preset, const std::string &dir, std::string *log)
{
    std::string out;
    int rc = runCommand(shellQuote(cardgenPath()) + " --preset " + shellQuote(preset) + " " + shellQuote(dir),
                        &out);
    if (log)
        *log = out;
    return rc == 0;
}

bool generateScenarioCard(const std::string &json, const std::string &dir, std::string *log)
{
    std::filesystem::create_directories(dir);
    const std::string file = dir + ".json";
    {
        std::ofstream f(file, std::ios::binary);
        f << json;
        if (!f)
            return false;
    }
    std::string out;
    int rc = runCommand(shellQuote(cardgenPath()) + " --scenario " + shellQuote(file) + " " + shellQuote(dir),
                        &out);
    std::remove(file.c_str());
    if (log)
        *log = out;
    return rc == 0;
}

bool generateDamagedPresetCard(const std::string &preset, const std::string &damageJson,
                               const std::string &dir, std::string *log)
{
    std::string scenario;
    if (runCommand(shellQuote(cardgenPath()) + " --print-preset " + shellQuote(preset), &scenario) != 0) {
        if (log)
            *log = scenario;
        return false;
    }
    const size_t close = scenario.rfind('}');
    if (close == std::string::npos)
        return false;
    return generateScenarioCard(scenario.substr(0, close) + ", \"damage\": " + damageJson + "}", dir, log);
}

} // namespace nivra::test
