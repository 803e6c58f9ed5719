// The cloud platform's side of the token encoding, for tests and demos.
//
//   cloudsdk-codec encode TEXT   prints the encoded text
//   cloudsdk-codec decode TEXT   prints the decoded bytes, or exits 1 when decoding fails
#include "TokenCodec.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "encode") != 0 && std::strcmp(argv[1], "decode") != 0)) {
        std::fputs("usage: cloudsdk-codec encode|decode TEXT\n", stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "encode") == 0) {
        std::printf("%s\n", EncodePayUrl(argv[2]).c_str());
        return 0;
    }
    const std::string plain = DecodeToken(argv[2]);
    if (plain.empty()) return 1;
    std::fwrite(plain.data(), 1, plain.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}
