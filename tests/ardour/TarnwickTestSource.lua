ardour {
	["type"]    = "dsp",
	name        = "Tarnwick Test Source",
	category    = "Utility",
	license     = "MIT",
	author      = "Tarnwick tests",
	description = [[Replaces its input with a short decaying tone burst at the start of every cycle.
It keeps no state, so a bounce of the same range sounds the same in every run.]]
}

function dsp_ioconfig ()
	return { { audio_in = -1, audio_out = -1 } }
end

function dsp_run (ins, outs, n_samples)
	for c = 1, #outs do
		local out = outs[c]:array ()
		for i = 1, n_samples do
			local k = i - 1
			if k < 256 then
				out[i] = 0.5 * math.sin (k * 0.3 * c) * (1 - k / 256)
			else
				out[i] = 0
			end
		end
	end
end
