#pragma once
// The program's icon (a dial with a needle), built into the program at several sizes.
class QIcon;

// The icon with every size built in.
QIcon ApplicationIcon();
