// PNG export: pictures read back with libpng match, failures leave nothing.
#include "PlatformTesting.h"

#include <gtest/gtest.h>

#include <png.h>

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

using PlatformTesting::PixelImage;

class TemporaryFolder
{
public:
	TemporaryFolder()
	{
		char pattern[] = "/tmp/pixels_png_XXXXXX";
		fPath = mkdtemp(pattern);
	}
	~TemporaryFolder()
	{
		for (const std::string& name : Entries())
			unlink((fPath + "/" + name).c_str());
		rmdir(fPath.c_str());
	}
	const std::string& Path() const { return fPath; }
	std::vector<std::string> Entries() const
	{
		std::vector<std::string> names;
		if (DIR* folder = opendir(fPath.c_str())) {
			while (dirent* entry = readdir(folder)) {
				std::string name = entry->d_name;
				if (name != "." && name != "..")
					names.push_back(name);
			}
			closedir(folder);
		}
		return names;
	}

private:
	std::string fPath;
};

PixelImage MakeImage(int32 width, int32 height)
{
	PixelImage image;
	image.width = width;
	image.height = height;
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++)
			image.pixels.push_back(rgb_color{uint8(x * 13), uint8(y * 29), uint8(x ^ y), 255});
	}
	return image;
}

bool ReadPNG(const std::string& path, PixelImage& image)
{
	png_image png = {};
	png.version = PNG_IMAGE_VERSION;
	if (!png_image_begin_read_from_file(&png, path.c_str()))
		return false;
	png.format = PNG_FORMAT_RGBA;
	std::vector<uint8> bytes(PNG_IMAGE_SIZE(png));
	if (!png_image_finish_read(&png, NULL, bytes.data(), 0, NULL))
		return false;
	image.width = int32(png.width);
	image.height = int32(png.height);
	image.pixels.clear();
	for (size_t i = 0; i + 3 < bytes.size(); i += 4)
		image.pixels.push_back(rgb_color{bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3]});
	return true;
}

} // namespace

TEST(PixelImageTest, ComparesSizeAndEveryPixel)
{
	PixelImage a = MakeImage(4, 3);
	PixelImage b = MakeImage(4, 3);
	EXPECT_TRUE(a == b);
	b.pixels[5].green++;
	EXPECT_FALSE(a == b);
	PixelImage c = MakeImage(3, 4);
	EXPECT_FALSE(a == c);
}

TEST(WritePNGTest, RoundTripThroughLibpng)
{
	TemporaryFolder folder;
	std::string path = folder.Path() + "/picture.png";
	PixelImage image = MakeImage(17, 9);
	ASSERT_EQ(B_OK, PlatformTesting::WritePNG(image, path.c_str()));
	PixelImage read;
	ASSERT_TRUE(ReadPNG(path, read));
	EXPECT_TRUE(read == image);
	// Only the file itself remains: the temporary one was renamed.
	EXPECT_EQ(std::vector<std::string>{"picture.png"}, folder.Entries());

	PixelImage other = MakeImage(5, 5);
	ASSERT_EQ(B_OK, PlatformTesting::WritePNG(other, path.c_str()));
	ASSERT_TRUE(ReadPNG(path, read));
	EXPECT_TRUE(read == other);
	EXPECT_EQ(1u, folder.Entries().size());
}

TEST(WritePNGTest, MissingFolderFailsAndLeavesNothing)
{
	TemporaryFolder folder;
	std::string path = folder.Path() + "/missing/picture.png";
	EXPECT_EQ(B_ENTRY_NOT_FOUND, PlatformTesting::WritePNG(MakeImage(2, 2), path.c_str()));
	EXPECT_TRUE(folder.Entries().empty());
}

TEST(WritePNGTest, EmptyOrInconsistentImageIsRefused)
{
	TemporaryFolder folder;
	std::string path = folder.Path() + "/picture.png";
	EXPECT_EQ(B_BAD_VALUE, PlatformTesting::WritePNG(PixelImage(), path.c_str()));
	PixelImage broken = MakeImage(3, 3);
	broken.pixels.pop_back();
	EXPECT_EQ(B_BAD_VALUE, PlatformTesting::WritePNG(broken, path.c_str()));
	EXPECT_TRUE(folder.Entries().empty());
}
