// The picture file csxx.dac beside the program (PictureBag). Input: the file's bytes. Oracles: a
// bag read from any bytes writes out and reads back as the same bag, byte for byte.
#include "FuzzSupport.h"
#include "style/PictureBag.h"

using ztgl::style::PictureBag;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PictureBag bag = PictureBag::fromFileBytes(ztgl::fuzz::bytesOf(data, size));
    const QByteArray written = bag.toFileBytes();
    const PictureBag again = PictureBag::fromFileBytes(written);
    FUZZ_CHECK(again.size() == bag.size(), "every picture reads back");
    FUZZ_CHECK(again.toFileBytes() == written, "a written bag reads back as itself");
    return 0;
}
