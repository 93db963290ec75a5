-- One headless session with the VST3 plug-in on a stereo track fed a DC of 0.5 (-6.02 dBFS) by
-- the dummy backend: a first-order split sends DC to the low band only, so the output level tells
-- which band the plug-in sends. Prints "CHECK <name> <pass|fail> <figure>" lines and "VALUE"
-- lines for the driver; QC_SESSION names a folder that does not exist yet.
local folder = assert(os.getenv("QC_SESSION"), "QC_SESSION not set")
local names = { "Output", "Cutoff Freq.", "Filter Slope", "Stereo Spread", "Bass Amp" }
-- Ardour's plain values: a list parameter's entry index, a continuous one's normalised value.
local settings = { ["Output"] = 1, ["Cutoff Freq."] = 0.5, ["Filter Slope"] = 3,
                   ["Stereo Spread"] = 0.25, ["Bass Amp"] = 0.75 }
local kLow, kHigh = 1, 2

local function check(name, passed, figure)
  print(string.format("CHECK %s %s %s", name:gsub(" ", "-"), passed and "pass" or "fail", tostring(figure)))
end

ARDOUR.config():set_hide_dummy_backend(false)
-- The peak meter falls fast, so a reading shows the settled level rather than a step's first
-- samples.
ARDOUR.config():set_meter_falloff(1000)
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
backend:set_device_name("DC -6dBFS (+.5)")
local session = create_session(folder, "corvane", 48000)
assert(session, "no session")
local track = session:new_audio_track(2, 2, nil, 1, "Corvane", ARDOUR.PresentationInfo.max_order,
                                      ARDOUR.TrackMode.Normal, true):front()
local plugin = ARDOUR.LuaAPI.new_plugin(session, "Quellin Corvane", ARDOUR.PluginType.VST3, "")
check("loads", not plugin:isnil(), "Quellin Corvane")
if plugin:isnil() then return end
track:add_processor_by_index(plugin, 0, nil, true)

local function find(processor, name)
  local p = processor:to_insert():plugin(0)
  for i = 0, p:parameter_count() - 1 do
    if p:parameter_label(i) == name then return i end
  end
end
for _, name in ipairs(names) do check("parameter " .. name, find(plugin, name) ~= nil, name) end
local function set(name, value) ARDOUR.LuaAPI.set_processor_param(plugin, find(plugin, name), value) end
local function peak()
  ARDOUR.LuaAPI.usleep(600000)
  return track:peak_meter():meter_level(0, ARDOUR.MeterType.MeterPeak)
end

-- The high band only, at 2.5 kHz: the DC is gone.
set("Output", kHigh)
set("Cutoff Freq.", 0.5)
track:input():disconnect_all(nil)
track:input():nth(0):connect("system:capture_1")
track:input():nth(1):connect("system:capture_2")
track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput,
                                     PBD.GroupControlDisposition.NoGroup)
local high = peak()
check("output-high-removes-dc", high < -40, string.format("%.2f dBFS", high))

-- Automation playing Output Low brings the DC back, at its level.
local control = plugin:to_automatable():automation_control(
  Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, find(plugin, "Output")), false)
control:alist():add(Temporal.timepos_t(0), kLow, false, false)
control:alist():add(Temporal.timepos_t(48000 * 600), kLow, false, false)
control:set_automation_state(ARDOUR.AutoState.Play)
session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
local low = peak()
check("automated-output-low-passes-dc", math.abs(low + 6.02) < 0.1, string.format("%.2f dBFS", low))
session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
control:set_automation_state(ARDOUR.AutoState.Off)

for name, value in pairs(settings) do set(name, value) end
ARDOUR.LuaAPI.usleep(200000)
session:save_state("", false, false, false, false, false)
close_session()

session = load_session(folder, "corvane")
check("reopens", session ~= nil, folder)
if session == nil then return end
track = session:route_by_name("Corvane")
plugin = track:nth_plugin(0)
check("plug-in restored", not plugin:isnil(), "Quellin Corvane")
if plugin:isnil() then return end
for _, name in ipairs(names) do
  local value = ARDOUR.LuaAPI.get_processor_param(plugin, find(plugin, name))
  check("restores " .. name, math.abs(value - settings[name]) < 1e-6,
        string.format("%g (set %g)", value, settings[name]))
end
