ardour {
	["type"]    = "dsp",
	name        = "Tarnwick Test Source",
	category    = "Utility",
	license     = "MIT",
	author      = "Tarnwick tests",
	description = [[Replaces its input with a short decaying tone burst at the start of every run
longer than the engine's cycle (a bounce's), or with "Impulse" on a unit impulse there, and with
silence in the engine's own cycles. It keeps no state, so a bounce of the same range sounds the
same in every run, and nothing reaches the plug-in between its fresh start and the bounce,
however many cycles run in between.]]
}

function dsp_ioconfig ()
	return { { audio_in = -1, audio_out = -1 } }
end

function dsp_params ()
	return { { ["type"] = "input", name = "Impulse", min = 0, max = 1, default = 0, toggled = true } }
end

function dsp_run (ins, outs, n_samples)
	local impulse = CtrlPorts:array ()[1] > 0
	local bouncing = n_samples > Session:get_block_size ()
	for c = 1, #outs do
		local out = outs[c]:array ()
		for i = 1, n_samples do
			local k = i - 1
			if impulse then
				out[i] = (k == 0 and bouncing) and 1 or 0
			elseif k < 256 and bouncing then
				out[i] = 0.5 * math.sin (k * 0.3 * c) * (1 - k / 256)
			else
				out[i] = 0
			end
		end
	end
end
