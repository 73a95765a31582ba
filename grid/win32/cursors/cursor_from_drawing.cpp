// Build tool (runs on the build machine): turns a 32 x 32 text drawing into a two-colour
// Windows cursor file (.cur) with transparency and a hot spot.
//   cursor_from_drawing DRAWING.txt OUTPUT.cur
// Drawing: lines starting with '#' and a space are comments; "hotspot X Y"; then 32 rows of
// 32 characters: '.' transparent, '#' black, 'o' white.
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kRowBytes = kSize / 8;

struct Drawing {
  int hotX = 0;
  int hotY = 0;
  std::vector<std::string> rows;
};

bool ReadDrawing(const char* path, Drawing& drawing) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("# ", 0) == 0) continue;
    if (line.rfind("hotspot ", 0) == 0) {
      std::istringstream(line.substr(8)) >> drawing.hotX >> drawing.hotY;
      continue;
    }
    if (line.size() != kSize || line.find_first_not_of(".#o") != std::string::npos) {
      std::cerr << path << ": bad row: " << line << "\n";
      return false;
    }
    drawing.rows.push_back(line);
  }
  if (drawing.rows.size() != kSize) std::cerr << path << ": need " << kSize << " rows\n";
  return drawing.rows.size() == kSize;
}

void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Bottom-up rows of one bit per pixel: XOR selects white, AND keeps the screen.
std::string Masks(const Drawing& drawing) {
  std::string xorMask, andMask;
  for (int y = kSize - 1; y >= 0; --y) {
    std::array<unsigned char, kRowBytes> xorRow{}, andRow{};
    for (int x = 0; x < kSize; ++x) {
      const char c = drawing.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      const unsigned char bit = static_cast<unsigned char>(0x80 >> (x % 8));
      if (c == 'o') xorRow[static_cast<std::size_t>(x / 8)] |= bit;
      if (c == '.') andRow[static_cast<std::size_t>(x / 8)] |= bit;
    }
    xorMask.append(reinterpret_cast<const char*>(xorRow.data()), kRowBytes);
    andMask.append(reinterpret_cast<const char*>(andRow.data()), kRowBytes);
  }
  return xorMask + andMask;
}

std::string CursorFile(const Drawing& drawing) {
  std::string image;
  Put32(image, 40);           // BITMAPINFOHEADER size
  Put32(image, kSize);        // width
  Put32(image, kSize * 2);    // height: XOR and AND masks
  Put16(image, 1);            // planes
  Put16(image, 1);            // bits per pixel
  Put32(image, 0);            // no compression
  Put32(image, kSize * kRowBytes * 2);
  Put32(image, 0);
  Put32(image, 0);
  Put32(image, 2);            // colours used
  Put32(image, 0);
  Put32(image, 0x00000000);   // black
  Put32(image, 0x00FFFFFF);   // white
  image += Masks(drawing);

  std::string file;
  Put16(file, 0);  // reserved
  Put16(file, 2);  // cursor
  Put16(file, 1);  // one image
  file += static_cast<char>(kSize);
  file += static_cast<char>(kSize);
  file += static_cast<char>(2);  // colours
  file += static_cast<char>(0);
  Put16(file, static_cast<unsigned>(drawing.hotX));
  Put16(file, static_cast<unsigned>(drawing.hotY));
  Put32(file, static_cast<std::uint32_t>(image.size()));
  Put32(file, 22);  // offset of the image
  return file + image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: cursor_from_drawing DRAWING.txt OUTPUT.cur\n";
    return 2;
  }
  Drawing drawing;
  if (!ReadDrawing(argv[1], drawing)) return 1;
  std::ofstream out(argv[2], std::ios::binary);
  out << CursorFile(drawing);
  return out ? 0 : 1;
}
