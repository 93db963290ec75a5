-- What the session scripts share. Prints "CHECK <name> <pass|fail> <figure>" lines for the
-- driver, which names a folder that does not exist yet in QC_SESSION.
folder = assert(os.getenv("QC_SESSION"), "QC_SESSION not set")

function check(name, passed, figure)
  print(string.format("CHECK %s %s %s", name:gsub(" ", "-"), passed and "pass" or "fail",
                      tostring(figure)))
end

-- The dummy backend playing a DC of 0.5 (-6.02 dBFS): a first-order split sends DC to the low
-- band only, so the output level tells which band the plug-in sends. The peak meter falls fast,
-- so a reading shows the settled level rather than a step's first samples.
function use_dummy_dc()
  ARDOUR.config():set_hide_dummy_backend(false)
  ARDOUR.config():set_meter_falloff(1000)
  local backend = AudioEngine:set_backend("None (Dummy)", "", "")
  backend:set_device_name("DC -6dBFS (+.5)")
end

-- The backend's capture ports into the track, heard while the transport stands.
function feed_dc(track)
  track:input():disconnect_all(nil)
  track:input():audio(0):connect("system:capture_1")
  track:input():audio(1):connect("system:capture_2")
  track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput,
                                       PBD.GroupControlDisposition.NoGroup)
end

-- A stereo track fed the DC, with a MIDI input too: Ardour passes MIDI to a plug-in only when
-- its track has some.
function add_track(session)
  local track = session:new_audio_track(2, 2, nil, 1, "Corvane",
                                        ARDOUR.PresentationInfo.max_order,
                                        ARDOUR.TrackMode.Normal, true):front()
  feed_dc(track)
  track:input():add_port("", nil, ARDOUR.DataType("midi"))
  return track
end

-- The control's number among the plug-in's controls, as set_processor_param counts them.
function control(processor, label)
  local plugin = processor:to_insert():plugin(0)
  for n = 0, plugin:parameter_count() - 1 do
    local id = plugin:nth_parameter(n, false)
    if plugin:parameter_label(id) == label then return n end
  end
end

function set(processor, label, value)
  return ARDOUR.LuaAPI.set_processor_param(processor, control(processor, label), value)
end

function get(processor, label)
  return (ARDOUR.LuaAPI.get_processor_param(processor, control(processor, label)))
end

-- The left output's level; the meter counts MIDI channels first.
function peak(track)
  ARDOUR.LuaAPI.usleep(600000)
  return track:peak_meter():meter_level(track:n_inputs():n_midi(), ARDOUR.MeterType.MeterPeak)
end

-- Each label's value against what was set, within single precision's rounding of its units.
function check_values(prefix, processor, expected)
  for label, value in pairs(expected) do
    local got = get(processor, label)
    local near = got ~= nil and math.abs(got - value) <= 1e-4 * math.max(1, math.abs(value))
    check(prefix .. " " .. label, near,
          string.format("%s (expected %g)", tostring(got), value))
  end
end
