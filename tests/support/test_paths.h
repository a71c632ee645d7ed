#pragma once

#include <string>

namespace kalvo::test {

// tests/data in the source tree.
std::string DataPath(const std::string& relative);
// A real file written by another program, or "" when the folder of those files is missing.
std::string RealDataPath(const std::string& relative);
// A fresh empty folder for one test, removed by the operating system's temp cleaning.
std::string MakeTempDir();

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// True when KALVO_UPDATE_GOLDENS=1 is set: the golden comparisons then rewrite the golden files
// with what the code makes now, for a change to an output that is intended.
bool UpdatingGoldens();

// Compares bytes with tests/data/golden/name. On a mismatch writes name.actual beside the
// golden file and returns a message naming the first differing line; "" when equal. Rewrites
// the golden file instead when UpdatingGoldens(). Pictures: tests/support/golden_image.h.
std::string CompareWithGolden(const std::string& name, const std::string& actual);

} // namespace kalvo::test
