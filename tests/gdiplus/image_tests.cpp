// Images to bytes and back, bad bytes, stream lifetime and the encoders.
#include "gdip_test_util.h"

#include <cstdio>
#include <cstring>

namespace vostrel::gdiptest {
namespace {

const BYTE kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::vector<BYTE> PatternPng(int width, int height) {
    GdipBitmap bitmap;
    if (!MakePatternBitmap(bitmap, width, height)) return {};
    return bitmap.SaveToBytes(kImageFormatPNG);
}

TEST(ImageI686, PngRoundTripKeepsSizeAndPixels) {
    LeakCheck check;
    GdipBitmap original;
    ASSERT_TRUE(MakePatternBitmap(original, 26, 18));
    const std::vector<BYTE> png = original.SaveToBytes(kImageFormatPNG);
    ASSERT_GT(png.size(), sizeof kPngSignature);
    EXPECT_EQ(0, std::memcmp(png.data(), kPngSignature, sizeof kPngSignature));

    GdipBitmap decoded;
    ASSERT_TRUE(decoded.CreateFromBytes(png));
    ASSERT_EQ(26u, decoded.GetWidth());
    ASSERT_EQ(18u, decoded.GetHeight());
    EXPECT_EQ(kImageFormatPNG, decoded.GetRawFormat());
    int different = 0;
    for (INT y = 0; y < 18; ++y)
        for (INT x = 0; x < 26; ++x)
            if (decoded.GetPixel(x, y) != original.GetPixel(x, y)) ++different;
    EXPECT_EQ(0, different);
    // Without a format the image's own (PNG) format is used.
    const std::vector<BYTE> again = decoded.SaveToBytes();
    ASSERT_GT(again.size(), sizeof kPngSignature);
    EXPECT_EQ(0, std::memcmp(again.data(), kPngSignature, sizeof kPngSignature));
    EXPECT_TRUE(decoded.Dispose());
    EXPECT_TRUE(original.Dispose());
    EXPECT_EQ("", check.Changes());
}

TEST(Image, JpegRoundTripKeepsSize) {
    GdipBitmap original;
    ASSERT_TRUE(MakePatternBitmap(original, 33, 21));
    EncoderParameterSet quality;
    quality.Count = 1;
    quality.Parameters = {{kEncoderQuality, 1, gp::EncoderParameterValueTypeLong, {95, 0, 0, 0}}};
    for (const EncoderParameterSet* parameters : {static_cast<const EncoderParameterSet*>(nullptr),
                                                  static_cast<const EncoderParameterSet*>(&quality)}) {
        const std::vector<BYTE> jpeg = original.SaveToBytes(kImageFormatJPEG, parameters);
        ASSERT_GT(jpeg.size(), 2u);
        EXPECT_EQ(0xFF, jpeg[0]);
        EXPECT_EQ(0xD8, jpeg[1]);
        GdipImage decoded;
        ASSERT_TRUE(decoded.LoadFromBytes(jpeg));
        EXPECT_EQ(33u, decoded.GetWidth());
        EXPECT_EQ(21u, decoded.GetHeight());
        EXPECT_EQ(kImageFormatJPEG, decoded.GetRawFormat());
    }
}

TEST(Image, BadBytesFailCleanly) {
    const std::vector<BYTE> png = PatternPng(16, 16);
    ASSERT_FALSE(png.empty());
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"signature only", std::vector<BYTE>(png.begin(), png.begin() + 8)},
        {"one header byte", std::vector<BYTE>(png.begin(), png.begin() + 20)},
        {"random", std::vector<BYTE>(300, 0x5A)},
    };
    std::vector<BYTE> changed = png;
    changed[1] = 'Q';
    cases.push_back({"changed signature", changed});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LeakCheck check;
        {
            GdipBitmap bitmap;
            EXPECT_FALSE(bitmap.CreateFromBytes(c.bytes));
            EXPECT_TRUE(bitmap.IsEmpty());
            EXPECT_NE(gp::Ok, GdipLastStatus);
            EXPECT_EQ(0u, bitmap.GetWidth());
            EXPECT_TRUE(bitmap.SaveToBytes(kImageFormatPNG).empty());
            GdipImage image;
            EXPECT_FALSE(image.LoadFromBytes(c.bytes));
            EXPECT_TRUE(image.IsEmpty());
        }
        EXPECT_EQ("", check.Changes());
    }
}

// A truncated file may decode (partly) or fail; either way nothing crashes
// and nothing is left behind.
TEST(Image, TruncatedBytesLeaveNothingBehind) {
    const std::vector<BYTE> png = PatternPng(64, 64);
    ASSERT_GT(png.size(), 100u);
    LeakCheck check;
    for (size_t keep : {png.size() / 2, png.size() - 12}) {
        GdipBitmap bitmap;
        if (bitmap.CreateFromBytes(std::vector<BYTE>(png.begin(), png.begin() + static_cast<long>(keep))))
            EXPECT_EQ(64u, bitmap.GetWidth()) << keep;
        else
            EXPECT_TRUE(bitmap.IsEmpty()) << keep;
    }
    EXPECT_EQ("", check.Changes());
}

TEST(Image, LoadedImageOutlivesTheCallersBuffer) {
    GdipBitmap bitmap;
    GdipImage image;
    {
        std::vector<BYTE> png = PatternPng(12, 7);
        ASSERT_FALSE(png.empty());
        ASSERT_TRUE(bitmap.CreateFromBytes(png));
        ASSERT_TRUE(image.LoadFromBytes(png.data(), png.size()));
        std::fill(png.begin(), png.end(), BYTE{0});
    }
    GdipBitmap expected;
    ASSERT_TRUE(MakePatternBitmap(expected, 12, 7));
    EXPECT_EQ(expected.GetPixel(5, 3), bitmap.GetPixel(5, 3));
    // Drawn after the buffer went: the image's own copy of the bytes is read.
    test::DibCanvas canvas(12, 7);
    {
        GdipGraphics g;
        ASSERT_TRUE(g.CreateFromHDC(canvas.dc()));
        ASSERT_TRUE(g.DrawImageI(image, 0, 0));
    }
    EXPECT_EQ(Rgb(expected.GetPixel(11, 6)), canvas.Pixel(11, 6));
    // A clone stays valid after the original is disposed.
    GdipImage copy;
    ASSERT_TRUE(image.Clone(copy));
    EXPECT_TRUE(image.Dispose());
    EXPECT_EQ(12u, copy.GetWidth());
    EXPECT_FALSE(copy.SaveToBytes(kImageFormatPNG).empty());
}

TEST(Image, SavingToAFileWritesBmpByDefault) {
    GdipBitmap bitmap;
    ASSERT_TRUE(MakePatternBitmap(bitmap, 5, 4));
    char dir[MAX_PATH], path[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, dir));
    ASSERT_NE(0u, GetTempFileNameA(dir, "gdp", 0, path));
    ASSERT_TRUE(bitmap.SaveToFile(path));
    FILE* f = std::fopen(path, "rb");
    ASSERT_NE(nullptr, f);
    char header[2] = {};
    EXPECT_EQ(2u, std::fread(header, 1, 2, f));
    std::fclose(f);
    EXPECT_EQ('B', header[0]);
    EXPECT_EQ('M', header[1]);
    GdipBitmap back;
    ASSERT_TRUE(back.CreateFromFile(path));
    EXPECT_EQ(5u, back.GetWidth());
    EXPECT_EQ(bitmap.GetPixel(3, 2), back.GetPixel(3, 2));
    EXPECT_TRUE(back.Dispose());  // releases the file
    DeleteFileA(path);
}

TEST(Encoders, ListAndLookupByExactFormatText) {
    std::vector<ImageCodecRecord> codecs;
    ASSERT_GT(GetImageEncoders(codecs), 0u);
    bool png = false;
    for (const ImageCodecRecord& c : codecs) {
        EXPECT_EQ(38u, c.Clsid.size());
        EXPECT_EQ(static_cast<size_t>(c.SigCount) * c.SigSize, c.SigPattern.size()) << c.CodecName;
        if (c.FormatId == kImageFormatPNG) {
            png = true;
            EXPECT_NE(std::string::npos, c.MimeType.find("png"));
        }
    }
    EXPECT_TRUE(png);
    const std::string clsid = EncoderClsidForFormat(kImageFormatPNG);
    EXPECT_EQ(38u, clsid.size());
    EXPECT_EQ("", EncoderClsidForFormat("{b96b3caf-0728-11d3-9d7b-0000f81ef32e}"));
    EXPECT_EQ("", EncoderClsidForFormat("{00000000-0000-0000-0000-000000000000}"));
}

TEST(Encoders, FormatWithoutEncoderSavesNothing) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(4, 4));
    LeakCheck check;
    EXPECT_TRUE(bitmap.SaveToBytes("{00000000-0000-0000-0000-000000000001}").empty());
    EXPECT_NE(gp::Ok, GdipLastStatus);
    EXPECT_EQ("", check.Changes());
}

TEST(Encoders, PaletteAndPropertiesRoundTrip) {
    GdipBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(4, 4, PixelFormat8bppIndexed));
    GdipPalette palette;
    palette.count = 2;
    palette.entries = {0xFF000000, 0xFFFFFFFF};
    ASSERT_TRUE(bitmap.SetPalette(palette));
    GdipPalette back;
    ASSERT_TRUE(bitmap.GetPalette(back));
    EXPECT_EQ(2u, back.count);
    EXPECT_EQ(palette.entries, back.entries);

    GdipBitmap photo;
    ASSERT_TRUE(photo.Create(4, 4));
    GdipPropertyItem item;
    item.id = 0x010E;  // image description
    item.type = 2;     // ASCII
    item.value = {'v', 'o', 's', 0};
    item.length = 4;
    ASSERT_TRUE(photo.SetPropertyItem(item));
    GdipPropertyItem got;
    got.value = {1};
    if (photo.GetPropertyItem(0x010E, got)) {
        EXPECT_EQ(item.value, got.value);
        std::vector<PROPID> ids;
        EXPECT_GE(photo.GetPropertyIdList(ids), 1u);
    } else {
        // Wine accepts the item but keeps nothing on a memory bitmap.
        EXPECT_EQ(gp::PropertyNotFound, GdipLastStatus);
        EXPECT_EQ((std::vector<BYTE>{1}), got.value);
    }
}

}  // namespace
}  // namespace vostrel::gdiptest
