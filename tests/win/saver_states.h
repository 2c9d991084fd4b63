// The two settings states velmora_saver.exe alternates between.
#pragma once

#include "core/settings.h"

namespace velmora {

inline TSettings SaverState(int which) {
  TSettings s;
  if (which == 0) {
    s.DisabledPrograms = {u"notepad.exe", u"メモ帳.exe"};
    s.WhistleWavFile = u"C:\\音\\時報.wav";
    s.SetDispFront(true);
  } else {
    // Longer content, so that a torn write would show.
    for (int i = 0; i < 200; ++i) s.DisabledPrograms.push_back(u"program" + DecimalText(i) + u".exe");
    s.RAMExe = u"\"C:\\Program Files\\Tools\\free.exe\" /quiet";
    s.FormatUpdate = 9;
  }
  return s;
}

}  // namespace velmora
