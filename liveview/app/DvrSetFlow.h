#pragma once

class CDvrManager;
class DlgDvrSet;

// The SET button for one device, in its calling order: the device's settings and the record
// directory go into the dialog with the recorder's series; the recorder's parameters are read
// only over a linked super user's log-in; on Confirm the parameters go back to the recorder
// when they were read and a parameter page changed, and the settings and record directory go
// back to the manager (the device's map points stay as they are). True when confirmed.
bool RunDvrSet(CDvrManager& manager, DlgDvrSet& dialog, int device);
