// The whole harness in one include, for the programs that use most of it.
#pragma once

#include "files.h"
#include "host_objects.h"
#include "host_window.h"
#include "installation.h"
#include "message_boxes.h"
#include "plugin_library.h"
#include "processes.h"
#include "settings_file.h"
#include "sim_driver.h"
#include "text.h"
#include "utl_binding.h"
