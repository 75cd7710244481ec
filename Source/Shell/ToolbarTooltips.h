// ToolbarTooltips: the toolbars' tooltips are string resources whose ids are
// the buttons' command ids; a command without a string gets no tooltip.
#pragma once

#include <windows.h>

// TTN_NEEDTEXT (either character set): points the tooltip at the string
// resource of the button's command in this module.
void SupplyToolbarTooltip(NMHDR* header);
