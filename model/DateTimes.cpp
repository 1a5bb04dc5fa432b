#include "model/DateTimes.h"

#include <ctime>
#include <sys/stat.h>

namespace qv {

namespace {

// Days between 30 December 1899 and 1 January 1970.
constexpr double UnixEpochAsDateTime = 25569.0;

double LocalDateTime(time_t t, long nanoseconds) {
  struct tm local {};
  localtime_r(&t, &local);
  double seconds = static_cast<double>(t) + static_cast<double>(local.tm_gmtoff) + nanoseconds / 1e9;
  return UnixEpochAsDateTime + seconds / 86400.0;
}

}  // namespace

double NowAsDateTime() {
  struct timespec ts {};
  clock_gettime(CLOCK_REALTIME, &ts);
  return LocalDateTime(ts.tv_sec, ts.tv_nsec);
}

bool FileWriteTime(const std::string& path, double& dateTime) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  dateTime = LocalDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  return true;
}

}  // namespace qv
