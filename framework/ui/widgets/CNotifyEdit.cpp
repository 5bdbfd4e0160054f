// The watching edit box: the notification itself is the platform edit's.
#include "framework/ui/widgets/CNotifyEdit.h"

CNotifyEdit::CNotifyEdit() = default;

CNotifyEdit::~CNotifyEdit() = default;
