#pragma once

#include "vstguibase.h"
#include <functional>

namespace VSTGUI {

//------------------------------------------------------------------------
// Repeating timer: notifies its target with kMsgTimer every fireTime milliseconds.
// Ticks come from the host's run loop while a frame is open with one, else from VSTGUI::idle().
class CVSTGUITimer : public CBaseObject
{
public:
	using CallbackFunc = std::function<void (CVSTGUITimer*)>;

	CVSTGUITimer (CBaseObject* timerObject, uint32_t fireTime = 100, bool doStart = false);
	CVSTGUITimer (const CallbackFunc& callback, uint32_t fireTime = 100, bool doStart = true);
	~CVSTGUITimer () override;

	virtual bool start ();
	virtual bool stop ();
	bool setFireTime (uint32_t newFireTime);
	uint32_t getFireTime () const { return fireTime; }
	bool isRunning () const { return running; }

	CMessageResult notify (CBaseObject* sender, IdStringPtr message) override;

	static IdStringPtr kMsgTimer;

	// Fires every running timer whose time has come; returns how many fired.
	static int32_t fireDueTimers ();
	// Milliseconds of the monotonic clock the timers use.
	static uint64_t now ();

private:
	void fire ();

	CBaseObject* timerObject {nullptr};
	CallbackFunc callbackFunc;
	uint32_t fireTime;
	uint64_t nextFire {0};
	bool running {false};
};

} // namespace VSTGUI
