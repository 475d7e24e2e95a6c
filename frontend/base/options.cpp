// The run-wide settings of srcfront and their defaults.
#include "frontend/base/options.h"

DriverOptions driver_options{};

void driver_options_reset() {
  driver_options = DriverOptions{};
  driver_options.source_file_name = "";
}
