#include "DesCbc.h"

#include "SdkKey.h"

#include <cstring>
#include <openssl/des.h>

namespace {

constexpr std::size_t kBlock = 8;

// The key schedule is computed once per process; every call starts from the key as its
// initialisation vector.
const DES_key_schedule& KeySchedule() {
    static const DES_key_schedule schedule = [] {
        DES_key_schedule made;
        DES_cblock key;
        std::memcpy(key, kSdkKey, kBlock);
        DES_set_key_unchecked(&key, &made);
        return made;
    }();
    return schedule;
}

std::string RunCbc(std::string_view input, int direction) {
    std::string output(input.size(), '\0');
    DES_cblock iv;
    std::memcpy(iv, kSdkKey, kBlock);
    DES_ncbc_encrypt(reinterpret_cast<const unsigned char*>(input.data()),
                     reinterpret_cast<unsigned char*>(output.data()), static_cast<long>(input.size()),
                     const_cast<DES_key_schedule*>(&KeySchedule()), &iv, direction);
    return output;
}

}  // namespace

std::string DesCbcEncrypt(std::string_view plain) {
    const std::size_t filler = kBlock - plain.size() % kBlock;
    std::string padded(plain);
    padded.append(filler, static_cast<char>(filler));
    return RunCbc(padded, DES_ENCRYPT);
}

std::optional<std::string> DesCbcDecrypt(std::string_view cipher) {
    if (cipher.empty() || cipher.size() % kBlock != 0) return std::nullopt;
    std::string plain = RunCbc(cipher, DES_DECRYPT);
    const auto filler = static_cast<unsigned char>(plain.back());
    if (filler >= 1 && filler <= kBlock) {
        for (std::size_t i = plain.size() - filler; i < plain.size(); ++i) {
            if (static_cast<unsigned char>(plain[i]) != filler) return std::nullopt;
        }
        plain.resize(plain.size() - filler);
    }
    return plain;
}
