#pragma once

// The look of one bevel of a panel.
enum TPanelBevel { bvNone, bvLowered, bvRaised };
