#include "StartUp.h"

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
#include "platform/Services.h"
#include "platform/SoundPlayer.h"
#include "reminders/TFrmAlarm.h"
#include "reminders/TFrmAlarminf.h"
#include "reminders/TFrmEdit.h"
#include "reminders/TFrmshowcontent.h"
#include "reminders/Tfrmaddcontent.h"
#include "reminders/Tfrmshowcontent1.h"
#include "shutdown/TFrmShutdown.h"
#include "storage/Leftovers.h"
#include "update/TFrmUpdate.h"
#include "widgets/DeferredPolish.h"
#include "widgets/GbkTextEdit.h"

#include <QApplication>
#include <QListWidget>

template <typename T, typename... Args> T* StartUp::create(Args&&... args)
{
    auto window = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = window.get();
    m_windows.push_back(std::move(window));
    return raw;
}

StartUp::StartUp()
{
    // Writes cut short by a crash leave their temporary files; this copy holds the single-instance guard, so none of
    // them belongs to a write still going on.
    Leftovers::removeAtStart();
    // Most windows stay hidden for long, many for good: their look is worked out when they are first shown.
    m_deferredPolish = std::make_unique<DeferredPolish>();
    qApp->installEventFilter(m_deferredPolish.get());
    // The add window's hidden player, made first: the engine of the main window, created before that window, plays
    // every reminder on it.
    m_reminderPlayer = Services::soundPlayers().create();
    SoundPlayer& player = *m_reminderPlayer;

    auto* main = create<TFrmMain>(player);
    auto* alarm = create<TFrmAlarm>();
    auto* alarminf = create<TFrmAlarminf>(player, *alarm->Query1, *alarm->Query2);
    auto* systemset = create<TFrmSystemset>(*main->SkinEngine1);
    auto* calendar = create<TFrmCalendar>();
    auto* card = create<TFrmCard>();
    auto* about = create<TFrmabout>();
    auto* update = create<TFrmUpdate>();
    auto* shutdown = create<TFrmShutdown>(*main->NotifyPopup1);
    auto* edit = create<TFrmEdit>(player, *alarm->Query1, *alarm->Query2);
    auto* addcontent = create<Tfrmaddcontent>(*systemset->ListBox1);
    auto* showcontent = create<TFrmshowcontent>(*alarminf->Memo1);
    auto* showcontent1 = create<Tfrmshowcontent1>(*edit->Memo1);
    auto* setclass = create<Tfrmsetclass>(*card);
    auto* addcard = create<Tfrmaddcard>(*card);
    auto* editcard = create<Tfrmeditcard>(*card);
    auto* addclass = create<Tfrmaddclass>(*setclass);
    auto* editclass = create<Tfrmeditclass>(*setclass);
    auto* clock = create<Tfrmclock>(*main);

    // Every window exists now: those created earlier get the windows they open.
    main->setOpens({ .reminderList = alarm,
                     .settings = systemset,
                     .cardManager = card,
                     .cardSearch = calendar,
                     .update = update,
                     .shutdown = shutdown,
                     .about = about,
                     .clock = clock });
    alarm->setOpens({ .add = alarminf, .edit = edit });
    alarminf->setOpens({ .phrases = showcontent });
    edit->setOpens({ .phrases = showcontent1 });
    systemset->setOpens({ .addPhrase = addcontent });
    card->setOpens({ .addCard = addcard, .editCard = editcard, .categories = setclass });
    setclass->setOpens({ .addCategory = addclass, .editCategory = editclass });
}

StartUp::~StartUp()
{
    // The last created goes first, so no window outlives one it refers to.
    while (!m_windows.empty())
        m_windows.pop_back();
}
