# Draws a Godot kit's buttons and check boxes as a Godot 3 project does: the kit's theme on
# a Control over a page colour, empty Buttons normal, pressed (a pressed toggle button),
# disabled and focused, and the CheckBox unchecked and checked. One capture per focused
# width, since a viewport has one focus owner. Reads res://probe.json; writes PNG captures
# and layout.json (where each control lies, as Godot laid it out) into its "out" folder.
extends SceneTree

const STATES = ["normal", "pressed", "disabled", "focus"]
const GAP = 8
const EDGE = 4

var config
var jobs = []
var job = -1
var frames = 0
var page
var focusables = []
var layout = {}

func _init():
	var file = File.new()
	if file.open("res://probe.json", File.READ) != OK:
		printerr("probe: no res://probe.json")
		quit(3)
		return
	config = parse_json(file.get_as_text())
	file.close()
	for kit in config["kits"]:
		for ratio in config["ratios"]:
			for focus in range(config["widths"].size()):
				jobs.append({"kit": kit, "ratio": int(ratio), "focus": focus})
	_next()

func _theme_name(ratio):
	return "theme-godot3.tres" if ratio == 1 else "theme-godot3@%dx.tres" % ratio

func _build(kit, ratio):
	if page:
		page.free()
	var theme = load("res://%s/%s" % [kit, _theme_name(ratio)])
	if theme == null:
		printerr("probe: cannot load the theme of ", kit)
		quit(4)
		return false
	page = ColorRect.new()
	page.color = Color8(config["page"][0], config["page"][1], config["page"][2])
	page.rect_size = get_root().size
	page.theme = theme
	get_root().add_child(page)
	focusables = []
	var height = int(config["height"]) * ratio
	var placed = []
	for row in range(STATES.size()):
		var x = EDGE
		var y = EDGE + row * (height + GAP)
		for width in config["widths"]:
			var button = Button.new()
			button.mouse_filter = Control.MOUSE_FILTER_IGNORE
			button.rect_position = Vector2(x, y)
			button.rect_min_size = Vector2(int(width) * ratio, height)
			button.rect_size = button.rect_min_size
			match STATES[row]:
				"pressed":
					button.toggle_mode = true
					button.pressed = true
				"disabled":
					button.disabled = true
				"focus":
					focusables.append(button)
			page.add_child(button)
			placed.append({"state": STATES[row], "width": int(width), "button": button})
			x += int(width) * ratio + GAP
	var checks = []
	var x = EDGE
	for checked in [false, true]:
		var box = CheckBox.new()
		box.mouse_filter = Control.MOUSE_FILTER_IGNORE
		box.focus_mode = Control.FOCUS_NONE
		box.pressed = checked
		box.rect_position = Vector2(x, EDGE + STATES.size() * (height + GAP))
		page.add_child(box)
		checks.append({"state": "on" if checked else "off", "box": box})
		x += int(box.get_combined_minimum_size().x) + GAP
	layout = {"buttons": placed, "checks": checks}
	return true

func _next():
	job += 1
	frames = 0
	if job == jobs.size():
		quit(0)
		return
	var current = jobs[job]
	if current["focus"] == 0 and not _build(current["kit"], current["ratio"]):
		return
	focusables[current["focus"]].grab_focus()

# Where Godot put each control, read after it has drawn them.
func _write_layout(current):
	var buttons = []
	for placed in layout["buttons"]:
		var b = placed["button"]
		buttons.append({"state": placed["state"], "width": placed["width"], "x": b.rect_position.x,
			"y": b.rect_position.y, "w": b.rect_size.x, "h": b.rect_size.y})
	var checks = []
	for placed in layout["checks"]:
		var box = placed["box"]
		var icon = box.get_icon("checked")
		# CheckBox centres its icon on the tallest of its icons, the radio ones too.
		var tallest = 0
		for name in ["checked", "unchecked", "radio_checked", "radio_unchecked"]:
			tallest = max(tallest, box.get_icon(name).get_height())
		checks.append({"state": placed["state"], "x": box.rect_position.x,
			"y": box.rect_position.y + int((box.rect_size.y - tallest) / 2),
			"w": icon.get_width(), "h": icon.get_height()})
	var file = File.new()
	file.open("%s/%s-%dx-layout.json" % [config["out"], current["kit"], current["ratio"]], File.WRITE)
	file.store_string(to_json({"buttons": buttons, "checks": checks}))
	file.close()

func _idle(_delta):
	if job >= jobs.size():
		return false
	frames += 1
	# A frame to lay out and one to draw, and one more for the viewport's texture.
	if frames < 3:
		return false
	var current = jobs[job]
	var picture = get_root().get_texture().get_data()
	picture.flip_y()
	# The page is opaque; what blending leaves in the alpha channel is no part of the picture.
	picture.convert(Image.FORMAT_RGB8)
	var out = "%s/%s-%dx-focus%d.png" % [config["out"], current["kit"], current["ratio"], current["focus"]]
	if picture.save_png(out) != OK:
		printerr("probe: cannot write ", out)
		quit(5)
		return false
	if current["focus"] == 0:
		_write_layout(current)
	_next()
	return false
