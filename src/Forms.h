#pragma once

// Every window exists exactly once for the life of the process, created at start-up in a fixed order. These are
// the process-wide references through which windows reach each other's shared controls.

class TFrmMain;
class TFrmAlarm;
class TFrmAlarminf;
class TFrmSystemset;
class TFrmCalendar;
class TFrmCard;
class TFrmabout;
class TFrmUpdate;
class TFrmShutdown;
class TFrmEdit;
class Tfrmaddcontent;
class TFrmshowcontent;
class Tfrmshowcontent1;
class Tfrmsetclass;
class Tfrmaddcard;
class Tfrmeditcard;
class Tfrmaddclass;
class Tfrmeditclass;
class Tfrmclock;

namespace Forms {
inline TFrmMain* FrmMain = nullptr;
inline TFrmAlarm* FrmAlarm = nullptr;
inline TFrmAlarminf* FrmAlarminf = nullptr;
inline TFrmSystemset* FrmSystemset = nullptr;
inline TFrmCalendar* FrmCalendar = nullptr;
inline TFrmCard* FrmCard = nullptr;
inline TFrmabout* Frmabout = nullptr;
inline TFrmUpdate* FrmUpdate = nullptr;
inline TFrmShutdown* FrmShutdown = nullptr;
inline TFrmEdit* FrmEdit = nullptr;
inline Tfrmaddcontent* frmaddcontent = nullptr;
inline TFrmshowcontent* Frmshowcontent = nullptr;
inline Tfrmshowcontent1* frmshowcontent1 = nullptr;
inline Tfrmsetclass* frmsetclass = nullptr;
inline Tfrmaddcard* frmaddcard = nullptr;
inline Tfrmeditcard* frmeditcard = nullptr;
inline Tfrmaddclass* frmaddclass = nullptr;
inline Tfrmeditclass* frmeditclass = nullptr;
inline Tfrmclock* frmclock = nullptr;
} // namespace Forms
