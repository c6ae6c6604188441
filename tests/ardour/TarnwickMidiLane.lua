ardour {
	["type"]    = "dsp",
	name        = "Tarnwick MIDI Lane",
	category    = "Utility",
	license     = "MIT",
	author      = "Tarnwick tests",
	description = [[Passes the audio through and adds an empty MIDI stream to the track, so that
the MIDI input of the plug-in after it is connected.]]
}

function dsp_ioconfig ()
	return { { audio_in = -1, audio_out = -1, midi_out = 1 } }
end

local n_out

function dsp_configure (ins, outs)
	n_out = outs
end

function dsp_runmap (bufs, in_map, out_map, n_samples, offset)
	ARDOUR.DSP.process_map (bufs, n_out, in_map, out_map, n_samples, offset)
end
