#include "StartUp.h"

#include "Forms.h"
#include "TFrmMain.h"
#include "TFrmSystemset.h"
#include "TFrmabout.h"
#include "cards/TFrmCalendar.h"
#include "cards/TFrmCard.h"
#include "cards/Tfrmaddcard.h"
#include "cards/Tfrmaddclass.h"
#include "cards/Tfrmeditcard.h"
#include "cards/Tfrmeditclass.h"
#include "cards/Tfrmsetclass.h"
#include "clock/Tfrmclock.h"
#include "reminders/TFrmAlarm.h"
#include "reminders/TFrmAlarminf.h"
#include "reminders/TFrmEdit.h"
#include "reminders/TFrmshowcontent.h"
#include "reminders/Tfrmaddcontent.h"
#include "reminders/Tfrmshowcontent1.h"
#include "shutdown/TFrmShutdown.h"
#include "storage/Leftovers.h"
#include "update/TFrmUpdate.h"

template <typename T> T* StartUp::create()
{
    auto window = std::make_unique<T>();
    T* raw = window.get();
    m_windows.push_back(std::move(window));
    return raw;
}

StartUp::StartUp()
{
    // Writes cut short by a crash leave their temporary files; this copy holds the single-instance guard, so none of
    // them belongs to a write still going on.
    Leftovers::removeAtStart();
    Forms::FrmMain = create<TFrmMain>();
    Forms::FrmAlarm = create<TFrmAlarm>();
    Forms::FrmAlarminf = create<TFrmAlarminf>();
    Forms::FrmSystemset = create<TFrmSystemset>();
    Forms::FrmCalendar = create<TFrmCalendar>();
    Forms::FrmCard = create<TFrmCard>();
    Forms::Frmabout = create<TFrmabout>();
    Forms::FrmUpdate = create<TFrmUpdate>();
    Forms::FrmShutdown = create<TFrmShutdown>();
    Forms::FrmEdit = create<TFrmEdit>();
    Forms::frmaddcontent = create<Tfrmaddcontent>();
    Forms::Frmshowcontent = create<TFrmshowcontent>();
    Forms::frmshowcontent1 = create<Tfrmshowcontent1>();
    Forms::frmsetclass = create<Tfrmsetclass>();
    Forms::frmaddcard = create<Tfrmaddcard>();
    Forms::frmeditcard = create<Tfrmeditcard>();
    Forms::frmaddclass = create<Tfrmaddclass>();
    Forms::frmeditclass = create<Tfrmeditclass>();
    Forms::frmclock = create<Tfrmclock>();
}

StartUp::~StartUp()
{
    // The last created goes first, so no window outlives one it refers to.
    while (!m_windows.empty())
        m_windows.pop_back();
    Forms::FrmMain = nullptr;
    Forms::FrmAlarm = nullptr;
    Forms::FrmAlarminf = nullptr;
    Forms::FrmSystemset = nullptr;
    Forms::FrmCalendar = nullptr;
    Forms::FrmCard = nullptr;
    Forms::Frmabout = nullptr;
    Forms::FrmUpdate = nullptr;
    Forms::FrmShutdown = nullptr;
    Forms::FrmEdit = nullptr;
    Forms::frmaddcontent = nullptr;
    Forms::Frmshowcontent = nullptr;
    Forms::frmshowcontent1 = nullptr;
    Forms::frmsetclass = nullptr;
    Forms::frmaddcard = nullptr;
    Forms::frmeditcard = nullptr;
    Forms::frmaddclass = nullptr;
    Forms::frmeditclass = nullptr;
    Forms::frmclock = nullptr;
}
