// The real platform behind the core's seams, one service a file and one
// Windows call a method.
#pragma once

#include "core/seams.h"
#include "win32/clock.h"
#include "win32/disk_and_sound.h"
#include "win32/process_api.h"
#include "win32/process_launcher.h"
#include "win32/system_probes.h"
#include "win32/window_manager.h"
