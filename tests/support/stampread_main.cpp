// nivra-stampread W H: reads raw 8-bit gray pictures of W x H from standard
// input (ffmpeg ... -f rawvideo -pix_fmt gray -) and prints one line per
// picture: the time code's value in decimal ("pool G F" for pooled pictures),
// or "none" when the picture has no valid code.
#include "stamp.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: nivra-stampread WIDTH HEIGHT < gray.raw\n");
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        std::fprintf(stderr, "nivra-stampread: bad size\n");
        return 2;
    }
    std::vector<uint8_t> picture(size_t(width) * size_t(height));
    for (;;) {
        size_t got = std::fread(picture.data(), 1, picture.size(), stdin);
        if (got == 0)
            break;
        if (got != picture.size()) {
            std::fprintf(stderr, "nivra-stampread: truncated picture (%zu bytes)\n", got);
            return 1;
        }
        int64_t v = 0;
        if (!nivra::test::readStamp(picture.data(), width, width, height, &v))
            std::printf("none\n");
        else if (nivra::test::stampIsPooled(v))
            std::printf("pool %d %d\n", nivra::test::stampPoolGop(v), nivra::test::stampPoolFrame(v));
        else
            std::printf("%lld\n", (long long)v);
    }
    return 0;
}
