// Date-time values as the documents store them: days since 30 December 1899 00:00, the fraction being
// the time of day, in local time.
#pragma once
#include <string>

namespace qv {

// The current local date and time.
double NowAsDateTime();
// The file's last-write time; false (and `dateTime` untouched) when it cannot be read.
bool FileWriteTime(const std::string& path, double& dateTime);

}  // namespace qv
