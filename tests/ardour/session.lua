-- A Tarnwick session in Ardour without a window, run twice by ardour7-lua:
--   TARNWICK_PHASE=create  builds the session at 90 BPM: test source, Tarnwick, a program, two
--                          parameter changes; beside it tracks with Tarnwick synced to the tempo
--                          (an impulse in, "1/8D"); bounces the dry and the processed tracks;
--                          saves; then changes "Feedback" and saves a second snapshot at once.
--   TARNWICK_PHASE=reload  loads both snapshots, checks tempo, parameters and program, bounces again.
-- TARNWICK_FORMAT is VST3, LXVST or LV2; the session lives in TARNWICK_SESSION_DIR; bounced files
-- are listed in TARNWICK_FILES ("tag channel path" lines) for the audio comparison that follows.

local phase = os.getenv ("TARNWICK_PHASE")
local format = os.getenv ("TARNWICK_FORMAT")
local dir = os.getenv ("TARNWICK_SESSION_DIR")
local files = os.getenv ("TARNWICK_FILES")
local name = "tarnwick"
local quick = "quick"
local rate = 48000
local bounce_end = 3 * rate
local program = "Crude Verb"

-- Parameter indices as Ardour lists them (the plug-in's controls come first, in id order).
local DELAY, FEEDBACK, WETDRY, DELAYSTATE, CONTROLS = 0, 1, 6, 8, 10
-- Ardour shows VST 3 and LV2 parameters in their plain ranges, VST 2 parameters as 0..1.
-- program_feedback: "Feedback" of the program. Sync and Note follow every older control, at the
-- index each format lists them.
local settings = {
	VST3  = { delay = 350, wetdry = 80, feedback = 40, program_feedback = 79, full_wet = 100, sync = 24, note = 25, dotted_eighth = 11 },
	LXVST = { delay = 0.175, wetdry = 0.8, feedback = 0.4, program_feedback = 0.79, full_wet = 1, sync = 23, note = 24, dotted_eighth = 0.55 },
	LV2   = { delay = 350, wetdry = 80, feedback = 40, program_feedback = 79, full_wet = 100, sync = 11, note = 12, dotted_eighth = 11 },
}
local set = settings[format]
assert (set, "TARNWICK_FORMAT must be VST3, LXVST or LV2")
-- How Ardour finds the plug-in, and the name it then shows.
local plugin_id = format == "LV2" and "https://tarnwick.audio/lv2/tarnwick" or "TarnwickFreex86"
local plugin_name = format == "LV2" and "Tarnwick" or "TarnwickFreex86"

local tempo = 90
-- The synced tracks: an impulse through Tarnwick on a plain audio track, and for LV2 also on a
-- track with a MIDI stream (Ardour writes time:Position only into a connected MIDI input).
local synced = { "Synced" }
if format == "LV2" then synced[2] = "Synced MIDI" end

-- Where Tarnwick sits on a synced track: after the source and the MIDI lane, if any.
local function tarnwick_slot (track_name)
	return track_name == "Synced MIDI" and 2 or 1
end

local failures = 0
local function check (ok, message)
	if not ok then
		failures = failures + 1
		print ("FAILED: " .. message)
	end
end

local function near (a, b)
	return math.abs (a - b) <= 1e-4 * math.max (1, math.abs (b))
end

local function start_engine ()
	AudioEngine:set_backend ("None (Dummy)", "", "")
	AudioEngine:set_sample_rate (rate)
	AudioEngine:set_buffer_size (1024)
end

local function params_of (proc)
	local values = {}
	for i = 0, CONTROLS - 1 do
		values[i + 1] = ARDOUR.LuaAPI.get_processor_param (proc, i, true)
	end
	return values
end

-- The engine's cycles before a bounce leave echoes in the plug-in: a bounce starts from a fresh
-- activation (taking effect in the next cycles), so that every format starts clean.
local function fresh_start (proc)
	proc:deactivate ()
	ARDOUR.LuaAPI.wait_for_process_callback (2, 1000)
	proc:activate ()
end

-- "1/8D" at 90 BPM: 500 ms, a pure delay with one echo, the rest at the defaults.
local function sync_settings ()
	return { [DELAYSTATE] = 1, [WETDRY] = set.full_wet, [FEEDBACK] = 0, [set.sync] = 1, [set.note] = set.dotted_eighth }
end

local function check_settings (proc, want, what)
	for index, value in pairs (want) do
		local got = ARDOUR.LuaAPI.get_processor_param (proc, index, true)
		check (near (got, value), string.format ("%s: parameter %d is %.9g, expected %.9g", what, index, got, value))
	end
end

local function bounce (track, endpoint, include_endpoint, tag, list)
	local region = track:bounce_range (0, bounce_end, ARDOUR.InterThreadInfo (), endpoint, include_endpoint, tag)
	assert (not region:isnil (), "bounce " .. tag)
	region = region:to_audioregion ()
	for c = 0, region:n_channels () - 1 do
		list:write (string.format ("%s %d %s\n", tag, c, region:source (c):to_filesource ():path ()))
	end
end

start_engine ()

if phase == "create" then
	assert (create_session (dir, name, rate), "create session")
	local map = Temporal.TempoMap.fetch_writable ()
	map:set_tempo (Temporal.Tempo (tempo, tempo, 4), Temporal.timepos_t (0))
	Temporal.TempoMap.update (map)
	map = nil
	local track = Session:new_audio_track (2, 2, nil, 1, "Tarnwick", ARDOUR.PresentationInfo.max_order,
	                                       ARDOUR.TrackMode.Normal, false):front ()
	local source = ARDOUR.LuaAPI.new_luaproc (Session, "Tarnwick Test Source")
	assert (not source:isnil (), "test source script not found")
	track:add_processor_by_index (source, 0, nil, true)
	local proc = ARDOUR.LuaAPI.new_plugin (Session, plugin_id, ARDOUR.PluginType[format], "")
	assert (not proc:isnil (), "Tarnwick not found: was it scanned?")
	track:add_processor_by_index (proc, 1, nil, true)

	local plugin = proc:to_insert ():plugin (0)
	local preset = plugin:preset_by_label (program)
	assert (preset and preset.valid, "no program " .. program)
	check (plugin:load_preset (preset), "loading " .. program)
	-- Ardour's controls show the program once the plug-in has told it, outside the call.
	ARDOUR.LuaAPI.wait_for_process_callback (4, 1000)
	local shown = params_of (proc)
	check (near (shown[FEEDBACK + 1], set.program_feedback), "program's Feedback not shown: " .. shown[FEEDBACK + 1])
	check (shown[DELAYSTATE + 1] == 1, "program's Delay State not shown: " .. shown[DELAYSTATE + 1])
	ARDOUR.LuaAPI.set_processor_param (proc, DELAY, set.delay)
	ARDOUR.LuaAPI.set_processor_param (proc, WETDRY, set.wetdry)

	-- VST 2 parameters are labelled with their VST 3 titles (not an 8-byte cut), no two alike.
	if format == "LXVST" then
		local vst3 = ARDOUR.LuaAPI.new_plugin (Session, plugin_id, ARDOUR.PluginType.VST3, "")
		assert (not vst3:isnil (), "VST 3 face not found: was it scanned?")
		local titles = {}
		local vst3_plugin = vst3:to_insert ():plugin (0)
		for i = 0, vst3_plugin:parameter_count () - 1 do titles[vst3_plugin:parameter_label (i)] = true end
		local seen = {}
		for i = 0, plugin:parameter_count () - 1 do
			local label = plugin:parameter_label (i)
			check (titles[label], "VST 2 parameter " .. i .. " labelled " .. label .. ", no VST 3 title")
			check (not seen[label], "two VST 2 parameters labelled " .. label)
			seen[label] = true
		end
		check (plugin:parameter_count () >= 23, "VST 2 parameters: " .. plugin:parameter_count ())
		vst3_plugin = nil; vst3 = nil
	end

	local synced_procs = {}
	for i, track_name in ipairs (synced) do
		local t = Session:new_audio_track (2, 2, nil, 1, track_name, ARDOUR.PresentationInfo.max_order,
		                                   ARDOUR.TrackMode.Normal, false):front ()
		local impulse = ARDOUR.LuaAPI.new_luaproc (Session, "Tarnwick Test Source")
		t:add_processor_by_index (impulse, 0, nil, true)
		ARDOUR.LuaAPI.set_processor_param (impulse, 0, 1)
		if track_name == "Synced MIDI" then
			local lane = ARDOUR.LuaAPI.new_luaproc (Session, "Tarnwick MIDI Lane")
			assert (not lane:isnil (), "MIDI lane script not found")
			t:add_processor_by_index (lane, 1, nil, true)
		end
		local p = ARDOUR.LuaAPI.new_plugin (Session, plugin_id, ARDOUR.PluginType[format], "")
		t:add_processor_by_index (p, tarnwick_slot (track_name), nil, true)
		for index, value in pairs (sync_settings ()) do
			ARDOUR.LuaAPI.set_processor_param (p, index, value)
		end
		synced_procs[i] = { track = t, source = impulse, proc = p }
	end
	-- Let the glides end before the bounce.
	ARDOUR.LuaAPI.wait_for_process_callback (40, 5000)
	local values = params_of (proc)
	check (near (values[DELAY + 1], set.delay), "Delay not taken: " .. values[DELAY + 1])
	check (near (values[WETDRY + 1], set.wetdry), "Wet/Dry not taken: " .. values[WETDRY + 1])

	local list = io.open (files, "w")
	bounce (track, source, true, "dry", list)
	fresh_start (proc)
	bounce (track, track:main_outs (), false, "before", list)
	for i, s in ipairs (synced_procs) do
		check_settings (s.proc, sync_settings (), synced[i])
		local tag = synced[i]:gsub (" ", "-")
		bounce (s.track, s.source, true, tag .. "-dry", list)
		fresh_start (s.proc)
		bounce (s.track, s.track:main_outs (), false, tag .. "-before", list)
	end
	synced_procs = nil
	list:close ()
	Session:save_state ("", false, false, false, false, false)

	-- A change saved at once: before its glide has ended, most likely before any engine cycle
	-- has carried it to the plug-in.
	ARDOUR.LuaAPI.set_processor_param (proc, FEEDBACK, set.feedback)
	Session:save_state (quick, false, false, false, false, false)
	check (near (ARDOUR.LuaAPI.get_processor_param (proc, FEEDBACK, true), set.feedback), "Feedback not taken")
	plugin = nil; proc = nil; source = nil; track = nil
elseif phase == "reload" then
	local list = io.open (files, "a")
	local saved = {}
	local labels = {}
	for _, snapshot in ipairs ({ name, quick }) do
		assert (load_session (dir, snapshot), "load " .. snapshot)
		local track = Session:route_by_name ("Tarnwick"):to_track ()
		local proc = track:nth_plugin (1)
		local plugin = proc:to_insert ():plugin (0)
		check (plugin:name () == plugin_name, snapshot .. ": plug-in " .. plugin:name ())
		check (plugin:last_preset ().label == program, snapshot .. ": program " .. plugin:last_preset ().label)
		saved[snapshot] = params_of (proc)
		for i = 0, CONTROLS - 1 do labels[i] = plugin:parameter_label (i) end
		if snapshot == name then
			local bpm = Temporal.TempoMap.read ():quarters_per_minute_at (Temporal.timepos_t (0))
			check (near (bpm, tempo), "tempo after reload: " .. bpm)
			fresh_start (proc)
			bounce (track, track:main_outs (), false, "after", list)
			for _, track_name in ipairs (synced) do
				local t = Session:route_by_name (track_name):to_track ()
				local p = t:nth_plugin (tarnwick_slot (track_name))
				check (p:to_insert ():plugin (0):name () == plugin_name, track_name .. ": not Tarnwick")
				check_settings (p, sync_settings (), track_name .. " after reload")
				fresh_start (p)
				bounce (t, t:main_outs (), false, track_name:gsub (" ", "-") .. "-after", list)
				p = nil; t = nil
			end
		end
		plugin = nil; proc = nil; track = nil
		collectgarbage ()
		close_session ()
	end
	list:close ()

	local values = saved[name]
	local function expect (snapshot, index, want)
		local got = saved[snapshot][index + 1]
		check (near (got, want), string.format ("%s: %s is %.9g, expected %.9g", snapshot, labels[index], got, want))
	end
	expect (name, DELAY, set.delay)
	expect (name, WETDRY, set.wetdry)
	-- The program is a delay-mode one (the default is comb mode); the rest of it is heard in the bounce.
	expect (name, DELAYSTATE, 1)
	-- The quick save differs from the first in "Feedback" alone.
	for i = 0, CONTROLS - 1 do
		expect (quick, i, i == FEEDBACK and set.feedback or values[i + 1])
	end
else
	error ("TARNWICK_PHASE must be create or reload")
end

collectgarbage ()
if phase == "create" then close_session () end
if failures > 0 then
	print (failures .. " check(s) failed")
	os.exit (1)
end
print ("ardour " .. format .. " " .. phase .. ": all checks passed")
