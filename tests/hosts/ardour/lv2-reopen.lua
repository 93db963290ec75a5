-- The LV2 plug-in's session reopened with controller 7 bound to Output in its state: a factory
-- preset loaded, the binding still playing, controls set by name and saved, for lv2-readback.lua.
-- (Reopening the session in the same process leaves Ardour hanging at its exit.)
dofile(os.getenv("QC_SCRIPTS") .. "/common.lua")
-- "High Band Only 150 Hz" in the ports' own units, and settings of our own.
local preset = { ["Output"] = 2, ["Cutoff Freq."] = 150, ["Filter Slope"] = 0,
                 ["Stereo Spread"] = 100, ["Bass Amp"] = 0 }
local settings = { ["Output"] = 3, ["Cutoff Freq."] = 250, ["Filter Slope"] = 2,
                   ["Stereo Spread"] = 50, ["Bass Amp"] = -3 }

use_dummy_dc()
local session = assert(load_session(folder, "corvane"), "cannot reopen the session")
local track = session:route_by_name("Corvane")
feed_dc(track)
local plugin = track:nth_plugin(0)
check("reopens", not plugin:isnil(), folder)
if plugin:isnil() then return end

local lv2 = plugin:to_insert():plugin(0)
local loaded = false
for record in lv2:get_info():get_presets(false):iter() do
  if record.label == "High Band Only 150 Hz" then loaded = lv2:load_preset(record) end
end
check("loads a preset", loaded, "High Band Only 150 Hz")
check_values("preset sets", plugin, preset)
local high = peak(track)
check("preset removes dc", high < -40, string.format("%.2f dBFS", high))

-- Controller 7 at 40 of 127 is Output Low inside the plug-in: the DC is back at its level.
local parser = ARDOUR.RawMidiParser()
for _, byte in ipairs({ 0xB0, 7, 40 }) do
  if parser:process_byte(byte) then
    plugin:to_insert():write_immediate_event(Evoral.EventType.MIDI_EVENT, parser:buffer_size(),
                                             parser:midi_buffer())
  end
end
local low = peak(track)
check("binding survives the preset", math.abs(low + 6.02) < 0.1, string.format("%.2f dBFS", low))

for label, value in pairs(settings) do set(plugin, label, value) end
ARDOUR.LuaAPI.usleep(200000)
session:save_state("", false, false, false, false, false)
