-- The VST3 plug-in in one headless session: parameters set by name, a DC's level through each
-- band, automation played, the session saved, reopened and its values read back.
dofile(os.getenv("QC_SCRIPTS") .. "/common.lua")
-- Ardour's plain values: a list parameter's entry index, a continuous one's normalised value.
local settings = { ["Output"] = 1, ["Cutoff Freq."] = 0.5, ["Filter Slope"] = 3,
                   ["Stereo Spread"] = 0.25, ["Bass Amp"] = 0.75 }
local kLow, kHigh = 1, 2

use_dummy_dc()
local session = assert(create_session(folder, "corvane", 48000), "no session")
local track = add_track(session)
local plugin = ARDOUR.LuaAPI.new_plugin(session, "Quellin Corvane", ARDOUR.PluginType.VST3, "")
check("loads", not plugin:isnil(), "Quellin Corvane")
if plugin:isnil() then return end
track:add_processor_by_index(plugin, 0, nil, true)
for label in pairs(settings) do check("parameter " .. label, control(plugin, label) ~= nil, label) end

-- The high band only, at 2.5 kHz: the DC is gone.
set(plugin, "Output", kHigh)
set(plugin, "Cutoff Freq.", 0.5)
local high = peak(track)
check("output-high-removes-dc", high < -40, string.format("%.2f dBFS", high))

-- Automation playing Output Low brings the DC back, at its level.
local automation = plugin:to_automatable():automation_control(
  Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, control(plugin, "Output")), false)
automation:alist():add(Temporal.timepos_t(0), kLow, false, false)
automation:alist():add(Temporal.timepos_t(48000 * 600), kLow, false, false)
automation:set_automation_state(ARDOUR.AutoState.Play)
session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
local low = peak(track)
check("automated-output-low-passes-dc", math.abs(low + 6.02) < 0.1, string.format("%.2f dBFS", low))
session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
automation:set_automation_state(ARDOUR.AutoState.Off)

for label, value in pairs(settings) do set(plugin, label, value) end
ARDOUR.LuaAPI.usleep(200000)
session:save_state("", false, false, false, false, false)
close_session()

session = load_session(folder, "corvane")
check("reopens", session ~= nil, folder)
if session == nil then return end
plugin = session:route_by_name("Corvane"):nth_plugin(0)
check("plug-in restored", not plugin:isnil(), "Quellin Corvane")
if plugin:isnil() then return end
check_values("restores", plugin, settings)
