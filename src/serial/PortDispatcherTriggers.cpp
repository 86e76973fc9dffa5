// TPortDispatcher: triggers, handler windows, delivery and the evaluation
// passes of the dispatch thread.
//
// The passes hold lock A (and C for the ring) while they look at the trigger
// lists, and no lock while a handler runs: the handler runs on the GUI thread
// while the dispatch thread waits for it, and it may add, remove or arm
// triggers, read bytes and write output. After each delivery the passes take
// the locks again and look at the lists as they are then.
#include <algorithm>

#include "serial/PortDispatcher.h"
#include "serial/SerExcept.h"

namespace serial
{

namespace
{

// Upper case of a Latin-1 byte (letters a-z and the accented letters).
uint8_t UpperByte(uint8_t b)
{
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
        return static_cast<uint8_t>(b - 0x20);
    return b;
}

} // namespace

// --- trigger lists (GUI thread) ---------------------------------------------

int TPortDispatcher::NextTriggerHandle()
{
    if (handleCounter_ < HandleCounterLimit)
        return static_cast<int>(handleCounter_++ * 8);
    for (int handle = 8; handle <= static_cast<int>(HandleCounterLimit); handle += 8) {
        auto uses = [handle](const auto& list, int mask) {
            return std::any_of(list.begin(), list.end(),
                [&](const auto& trigger) { return (trigger.Handle & mask) == handle; });
        };
        if (!uses(timers_, ~0) && !uses(dataTriggers_, ~0) && !uses(statusTriggers_, ~7))
            return handle;
    }
    return 0;
}

void TPortDispatcher::SetAvailTrigger(uint32_t threshold)
{
    {
        std::lock_guard a(lockA_);
        availThreshold_ = threshold;
    }
    // Bytes already in the ring may reach a lower threshold.
    NudgeDispatcher();
}

uint32_t TPortDispatcher::AvailTrigger()
{
    std::lock_guard a(lockA_);
    return availThreshold_;
}

int TPortDispatcher::AddDataTrigger(const std::string& text, bool ignoreCase)
{
    if (text.size() > MaxDataTriggerLength)
        return ecTriggerTooLong;
    std::lock_guard a(lockA_);
    const int handle = NextTriggerHandle();
    if (handle == 0)
        return ecNoMoreTriggers;
    TDataTrigger trigger;
    trigger.Handle = handle;
    trigger.Length = static_cast<uint32_t>(text.size());
    trigger.IgnoreCase = ignoreCase;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<uint8_t>(text[i]);
        trigger.Text[i] = ignoreCase ? UpperByte(b) : b;
    }
    dataTriggers_.push_back(trigger);
    AddDispatchEntry(
        LogTrigAlloc, LsDataTrigger, static_cast<uint32_t>(handle), trigger.Text.data(), trigger.Length);
    return handle;
}

int TPortDispatcher::AddTimerTrigger()
{
    std::lock_guard a(lockA_);
    const int handle = NextTriggerHandle();
    if (handle == 0)
        return ecNoMoreTriggers;
    TTimerTrigger trigger;
    trigger.Handle = handle;
    timers_.push_back(trigger);
    AddDispatchEntry(LogTrigAlloc, LsTimerTrigger, static_cast<uint32_t>(handle));
    return handle;
}

int TPortDispatcher::SetTimerTrigger(int handle, uint64_t ticks, bool activate)
{
    std::lock_guard a(lockA_);
    auto found = std::find_if(
        timers_.begin(), timers_.end(), [handle](const TTimerTrigger& t) { return t.Handle == handle; });
    if (handle < 2 || found == timers_.end())
        return ecBadTriggerHandle;
    if (activate) {
        if (ticks != 0)
            found->Period = ticks;
        NewTimer(found->Timer, found->Period);
        found->Active = true;
        // A sleeping dispatch thread wakes when this one falls due before
        // the time it sleeps until; an awake one looks at it before it sleeps.
        const uint64_t sleepUntil = sleepUntil_;
        if (sleepUntil != 0 && TimerDueMs(found->Timer) < sleepUntil)
            WakeDispatcher();
    } else {
        found->Active = false;
        static const uint8_t text[] = "Deactivated";
        AddDispatchEntry(
            LogTrigDataChange, LsTimerTrigger, static_cast<uint32_t>(handle), text, sizeof text - 1);
    }
    return 0;
}

int TPortDispatcher::RemoveTrigger(int handle)
{
    if (handle == AvailTriggerHandle) {
        SetAvailTrigger(0);
        return 0;
    }
    if (handle < 2)
        return ecBadTriggerHandle;
    std::lock_guard a(lockA_);
    auto eraseFirst = [handle](auto& list) {
        auto found
            = std::find_if(list.begin(), list.end(), [handle](const auto& t) { return t.Handle == handle; });
        if (found == list.end())
            return false;
        list.erase(found);
        return true;
    };
    const auto data = static_cast<uint32_t>(handle);
    if (eraseFirst(timers_)) {
        AddDispatchEntry(LogTrigDispose, LsTimerTrigger, data);
    } else if (eraseFirst(statusTriggers_)) {
        hasStatusTriggers_ = !statusTriggers_.empty();
        const uint8_t kind = static_cast<uint8_t>(handle & 7);
        AddDispatchEntry(LogTrigDispose, LsStatusTrigger, data, &kind, 1);
    } else if (eraseFirst(dataTriggers_)) {
        AddDispatchEntry(LogTrigDispose, LsDataTrigger, data);
    } else {
        return ecBadTriggerHandle;
    }
    return 0;
}

void TPortDispatcher::ClearAllTriggers()
{
    std::lock_guard a(lockA_);
    availThreshold_ = 0;
    timers_.clear();
    dataTriggers_.clear();
    statusTriggers_.clear();
    hasStatusTriggers_ = false;
    handleCounter_ = 1;
}

void TPortDispatcher::SaveTriggers(SavedTriggers& saved)
{
    std::lock_guard a(lockA_);
    saved.AvailThreshold = availThreshold_;
    saved.Timers = timers_;
    saved.Data = dataTriggers_;
    saved.Status = statusTriggers_;
}

void TPortDispatcher::RestoreTriggers(const SavedTriggers& saved)
{
    {
        std::lock_guard a(lockA_);
        availThreshold_ = saved.AvailThreshold;
        timers_ = saved.Timers;
        dataTriggers_ = saved.Data;
        statusTriggers_ = saved.Status;
        hasStatusTriggers_ = !statusTriggers_.empty();
    }
    NudgeDispatcher();
}

void TPortDispatcher::FreeSavedTriggers(SavedTriggers& saved)
{
    saved = SavedTriggers {};
}

// --- handler windows --------------------------------------------------------

void TPortDispatcher::RegisterWndHandler(TTriggerWindow* window)
{
    std::lock_guard a(lockA_);
    windows_.push_back(WndRecord { window, false });
    serviceNeeded_ = true;
    AddDispatchEntry(LogHandlerAlloc, LsWindow, static_cast<uint32_t>(windows_.size()));
}

void TPortDispatcher::DeregisterWndHandler(TTriggerWindow* window)
{
    std::lock_guard a(lockA_);
    AddDispatchEntry(LogHandlerDispose, LsWindow, static_cast<uint32_t>(windows_.size()));
    auto found = std::find_if(windows_.begin(), windows_.end(),
        [window](const WndRecord& r) { return r.Window == window && !r.Deleted; });
    if (found != windows_.end()) {
        if (delivering_) {
            found->Deleted = true;
            removalPending_ = true;
        } else {
            windows_.erase(found);
        }
    }
    UpdateHandlerState(0);
}

void TPortDispatcher::UpdateHandlerState(int mode)
{
    std::lock_guard a(lockA_);
    const bool others
        = std::count_if(windows_.begin(), windows_.end(), [](const WndRecord& r) { return !r.Deleted; }) > 1;
    switch (mode) {
    case 1:
        ownHandlerInstalled_ = true;
        serviceNeeded_ = true;
        break;
    case 2:
        ownHandlerInstalled_ = false;
        serviceNeeded_ = others;
        break;
    default:
        serviceNeeded_ = others || ownHandlerInstalled_;
        break;
    }
}

// --- delivery (dispatch thread) ---------------------------------------------

bool TPortDispatcher::NotifyHandlers(uint32_t message, uint32_t wParam, uint32_t data)
{
    if (!serviceNeeded_)
        return true;
    bool toWindows;
    {
        std::lock_guard a(lockA_);
        delivering_ = true;
        toWindows = windows_.size() > 1 || ownHandlerInstalled_;
    }
    const bool withBytes = message == TriggerAvailMsg || message == TriggerDataMsg;
    {
        std::lock_guard c(lockC_);
        largestReadCount_ = 0;
        inEvent_ = withBytes;
    }
    static const uint8_t subtypes[] = { LsAvail, LsData, LsTimer, LsStatus };
    AddDispatchEntry(LogTrigger, subtypes[(message - TriggerAvailMsg) & 3], wParam);

    const uint32_t lParam = engineNumber_ * 65536 + (data & 0xFFFF);
    bool result = true;
    for (std::size_t i = 0; toWindows; ++i) {
        TTriggerWindow* window;
        {
            std::lock_guard a(lockA_);
            if (i >= windows_.size())
                break;
            if (windows_[i].Deleted)
                continue;
            window = windows_[i].Window;
        }
        {
            std::lock_guard c(lockC_);
            handlerReadCount_ = 0;
        }
        window->SendTrigger(message, wParam, lParam);
        if (closePending_) {
            result = false;
            break;
        }
        std::lock_guard c(lockC_);
        largestReadCount_ = std::max(largestReadCount_, handlerReadCount_);
    }

    {
        // The bytes count as consumed up to the most any handler read.
        std::lock_guard c(lockC_);
        if (inEvent_) {
            inEvent_ = false;
            Consume(std::min(largestReadCount_, UnreadCount()));
            if (message == TriggerAvailMsg && largestReadCount_ != wParam)
                result = false;
        }
        handlerReadCount_ = 0;
    }
    std::lock_guard a(lockA_);
    delivering_ = false;
    if (removalPending_) {
        std::erase_if(windows_, [](const WndRecord& r) { return r.Deleted; });
        removalPending_ = false;
        UpdateHandlerState(0);
    }
    return result;
}

// --- evaluation passes (dispatch thread) ------------------------------------

// Follows overlapping candidates of the trigger's text in parallel: counter c
// holds how many bytes of a candidate have matched so far. Each byte starts at
// most one new candidate; a match zeroes all counters, and the walk goes on so
// that the matching byte may start a new candidate.
bool TPortDispatcher::MatchDataTrigger(TDataTrigger& trigger, uint8_t byte)
{
    if (trigger.IgnoreCase)
        byte = UpperByte(byte);
    const uint32_t k = trigger.Length;
    bool matched = false;
    bool started = false;
    for (uint32_t i = 0; i < k; ++i) {
        uint32_t& c = trigger.Counters[i];
        const bool process = i == 0 || c != 0 || (!started && trigger.Text[0] == byte);
        if (process) {
            if (trigger.Text[c] == byte) {
                ++c;
                if (c == k) {
                    matched = true;
                    trigger.Counters.fill(0);
                }
            } else {
                c = trigger.Text[0] == byte ? 1 : 0;
            }
        }
        if (trigger.Counters[i] == 1)
            started = true;
    }
    return matched;
}

bool TPortDispatcher::CheckDataTriggers()
{
    std::unique_lock a(lockA_);
    std::unique_lock c(lockC_);
    if (ring_.empty())
        return false;
    const uint32_t unread = UnreadCount();
    const uint32_t inEventRead = inEvent_ ? handlerReadCount_ : 0;
    if (scanGap_) {
        scanGap_ = false;
        for (TDataTrigger& trigger : dataTriggers_)
            trigger.Counters.fill(0);
    }

    while (scanned_ < unread) {
        const uint32_t pos = (ringRead_ + scanned_) % InputRingSize;
        const uint8_t byte = ring_[pos];
        bool any = false;
        uint32_t longest = 0;
        for (TDataTrigger& trigger : dataTriggers_) {
            if (trigger.Length == 0)
                continue;
            if (trigger.Matched || MatchDataTrigger(trigger, byte)) {
                trigger.Matched = true;
                any = true;
                longest = std::max(longest, trigger.Length);
            }
        }
        if (!any) {
            ++scanned_;
            continue;
        }

        // A data trigger matched at pos: first the bytes before its text as
        // available data, then each matched trigger, last added first.
        const uint32_t offset = scanned_;
        const uint64_t consumedBefore = consumed_;
        matchHeld_ = true;
        bool result = true;
        const uint32_t upToHere = offset + 1 - std::min(inEventRead, offset + 1);
        const uint64_t next = consumed_ + offset + 1;
        if (availThreshold_ != 0 && next != notifyPos_ && upToHere >= longest + availThreshold_) {
            // Noted as past this byte: the matched text is not announced again
            // until more bytes arrive behind it.
            notifyPos_ = next;
            c.unlock();
            a.unlock();
            result = NotifyHandlers(TriggerAvailMsg, upToHere - longest, 0);
            a.lock();
            c.lock();
        }
        for (std::size_t i = dataTriggers_.size(); i-- > 0;) {
            if (closePending_)
                break;
            if (i >= dataTriggers_.size())
                break;
            TDataTrigger& trigger = dataTriggers_[i];
            if (!trigger.Matched)
                continue;
            trigger.Matched = false;
            const auto handle = static_cast<uint32_t>(trigger.Handle);
            const uint32_t length = trigger.Length;
            c.unlock();
            a.unlock();
            result = NotifyHandlers(TriggerDataMsg, handle, length);
            a.lock();
            c.lock();
        }
        // Move past the matched byte, unless a handler already consumed it.
        matchHeld_ = false;
        const uint64_t consumed = consumed_ - consumedBefore;
        if (consumed <= offset && !ring_.empty())
            scanned_ = std::min<uint64_t>(offset + 1 - consumed, UnreadCount());
        return result;
    }

    // No trigger matched up to the write position.
    const uint64_t writePos = consumed_ + unread;
    const uint32_t count = unread - std::min(inEventRead, unread);
    // A full ring takes no more bytes from the device, so no new bytes can
    // come to announce it again: it is announced at every pass until a
    // handler makes room.
    if (availThreshold_ != 0 && (writePos != notifyPos_ || ringFull_) && count >= availThreshold_) {
        notifyPos_ = writePos;
        c.unlock();
        a.unlock();
        return NotifyHandlers(TriggerAvailMsg, count, 0);
    }
    return false;
}

bool TPortDispatcher::CheckTimerTriggers()
{
    std::unique_lock a(lockA_);
    for (TTimerTrigger& timer : timers_) {
        if (timer.Active && TimerExpired(timer.Timer)) {
            timer.Active = false;
            const auto handle = static_cast<uint32_t>(timer.Handle);
            a.unlock();
            return NotifyHandlers(TriggerTimerMsg, handle, 0);
        }
    }
    return false;
}

bool TPortDispatcher::CheckStatusTriggers()
{
    std::unique_lock a(lockA_);
    for (TStatusTrigger& trigger : statusTriggers_) {
        if (!trigger.Armed || trigger.Hit)
            continue;
        bool fires = false;
        uint32_t data = 0;
        switch (trigger.Handle & 7) {
        case StatusModem: {
            const uint8_t mask = static_cast<uint8_t>(trigger.Value >> 8);
            fires = (modemStatus_ & mask) != (trigger.Value & 0xFF);
            data = modemStatus_;
            break;
        }
        case StatusLine:
            if (trigger.Value & lineErrors_) {
                fires = true;
                trigger.Value = static_cast<uint16_t>(lineErrors_.load());
                data = trigger.Value;
            }
            break;
        case StatusOutFree:
            data = OutBuffFree();
            fires = data >= trigger.Value;
            break;
        case StatusOutUsed:
            data = OutBuffUsed();
            fires = data <= trigger.Value;
            break;
        case StatusOutSent:
            fires = blockWritten_.exchange(false);
            break;
        default:
            break;
        }
        if (!fires)
            continue;
        trigger.Armed = false;
        trigger.Hit = true;
        anyHit_ = true;
        const auto handle = static_cast<uint32_t>(trigger.Handle);
        a.unlock();
        return NotifyHandlers(TriggerStatusMsg, handle, data);
    }
    return false;
}

void TPortDispatcher::ClearHitMarks()
{
    std::lock_guard a(lockA_);
    if (!anyHit_)
        return;
    for (TStatusTrigger& trigger : statusTriggers_)
        trigger.Hit = false;
    anyHit_ = false;
}

void TPortDispatcher::ProcessCommEvent(uint32_t eventMask)
{
    auto statusRound = [this] {
        if (delivering_)
            return true;
        while (CheckStatusTriggers())
            if (closePending_)
                return false;
        return true;
    };
    if (eventMask & (EvCts | EvDsr | EvRlsd | EvRing | EvRingTe)) {
        RefreshModemStatus(true);
        if (!statusRound())
            return;
        ClearHitMarks();
    }
    if ((eventMask & 0xFF) >= EvBreak) {
        RefreshLineErrors();
        if (!statusRound())
            return;
        ClearHitMarks();
    }
    if (eventMask & EvRxChar)
        ReadInput();
    if (!delivering_) {
        RefreshModemStatus(true);
        if (!statusRound())
            return;
        while (CheckDataTriggers())
            if (closePending_)
                return;
    }
    ClearHitMarks();
}

// --- the dispatch thread's sleep ---------------------------------------------
//
// A nudge and the start of a sleep are ordered by the two atomics: the
// dispatch thread stores sleepUntil_ and then takes nudged_; a nudger stores
// nudged_ and then reads sleepUntil_. Either the thread sees the nudge and
// does not sleep, or the nudger sees it sleeping and wakes it. On waking the
// thread clears sleepUntil_ and then takes nudged_ (EndSleep): a nudge that
// came before it took nudged_ asks for a pass now, one after stays for the
// next BeginSleep. Clearing nudged_ without looking would lose a nudge made
// after the wake by a nudger that found sleepUntil_ already 0, whenever that
// wake asks for no pass of its own (the end of a pass on the GUI thread).

uint64_t TPortDispatcher::BeginSleep(uint64_t wakeAtMs)
{
    std::lock_guard a(lockA_);
    uint64_t until = wakeAtMs;
    for (const TTimerTrigger& timer : timers_)
        if (timer.Active)
            until = std::min(until, TimerDueMs(timer.Timer));
    sleepUntil_ = std::max<uint64_t>(until, 1);
    if (nudged_.exchange(false)) {
        sleepUntil_ = 0;
        return 0;
    }
    return until;
}

bool TPortDispatcher::EndSleep()
{
    sleepUntil_ = 0;
    return nudged_.exchange(false);
}

void TPortDispatcher::NudgeDispatcher()
{
    nudged_ = true;
    if (sleepUntil_.load() != 0)
        WakeDispatcher();
}

void TPortDispatcher::OutputMoved()
{
    if (hasStatusTriggers_)
        NudgeDispatcher();
}

bool TPortDispatcher::PassLeftWork()
{
    std::lock_guard c(lockC_);
    return !ring_.empty() && (ringFull_ || scanned_ < UnreadCount());
}

TPortDispatcher::InputNeed TPortDispatcher::InputPassNeed()
{
    std::lock_guard a(lockA_);
    std::lock_guard c(lockC_);
    if (ring_.empty())
        return InputNeed::None;
    const uint32_t unread = UnreadCount();
    if (hasStatusTriggers_ || ringFull_ || unread >= InputRingSize / 2)
        return InputNeed::PassNow;
    // A text can only be completed by its last byte.
    for (const TDataTrigger& trigger : dataTriggers_) {
        if (trigger.Length == 0)
            continue;
        if (trigger.Matched)
            return InputNeed::PassNow;
        const uint8_t last = trigger.Text[trigger.Length - 1];
        for (uint32_t i = scanned_; i < unread; ++i) {
            const uint8_t byte = ring_[(ringRead_ + i) % InputRingSize];
            if ((trigger.IgnoreCase ? UpperByte(byte) : byte) == last)
                return InputNeed::PassNow;
        }
    }
    if (availThreshold_ != 0 && consumed_ + unread != notifyPos_ && unread >= availThreshold_)
        return InputNeed::Hold;
    return InputNeed::None;
}

void TPortDispatcher::ProcessTimers()
{
    if (closePending_ || delivering_)
        return;
    {
        std::lock_guard a(lockA_);
        anyHit_ = false;
    }
    while (!closePending_) {
        if (!CheckStatusTriggers() && !CheckTimerTriggers())
            break;
    }
    ClearHitMarks();
}

} // namespace serial
