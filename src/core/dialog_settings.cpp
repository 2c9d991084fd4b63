#include "core/dialog_settings.h"

namespace velmora {

void CopyDialogFields(const TSettings& from, TSettings& to) {
  for (const DialogSetting& setting : kDialogSettings) {
    std::visit([&](auto field) { to.*field = from.*field; }, setting.field);
  }
  to.DisabledPrograms = from.DisabledPrograms;
}

}  // namespace velmora
