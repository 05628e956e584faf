// The map page of Tavrik's "Navigate" window. The program calls three global
// functions by name, always with texts:
//   setStartMarkfun(longitude, latitude)  a new track starts here
//   justmarkfun(longitude, latitude)      the unit has moved on
//   clearMapfun()                          track and markers go away
// Leaflet draws the map. Tiles come from the tile server when it answers; when
// it does not, a plain background with a graticule stands in for them.
(function () {
  'use strict';

  var TILE_URL = 'https://tile.openstreetmap.org/{z}/{x}/{y}.png';
  var TILE_ATTRIBUTION = '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a>';
  var OFFLINE_ATTRIBUTION = '离线底图（经纬网格）';
  var START_ZOOM = 16;
  var MAX_ZOOM = 19;
  // While offline the tile layer is taken off the map, so panning does not
  // fire a request per tile; one probe now and then finds the server again.
  var ONLINE_PROBE_MS = 60000;
  // The vehicle stays inside this share of the view at each side before
  // following pans the map.
  var FOLLOW_MARGIN = 0.2;
  var EARTH_RADIUS_M = 6371008.8;

  // ---- texts from the program ---------------------------------------------

  var DECIMAL = /^[+-]?(\d+(\.\d*)?|\.\d+)$/;

  function parseDegrees(text, limit) {
    if (typeof text !== 'string') return null;
    var trimmed = text.trim();
    if (!DECIMAL.test(trimmed)) return null;
    var value = Number(trimmed);
    if (!isFinite(value) || Math.abs(value) > limit) return null;
    return value;
  }

  function readPosition(longitudeText, latitudeText) {
    var lon = parseDegrees(longitudeText, 180);
    var lat = parseDegrees(latitudeText, 90);
    if (lon === null || lat === null) return null;
    return { lon: lon, lat: lat };
  }

  function distanceMetres(a, b) {
    var toRad = Math.PI / 180;
    var dLat = (b.lat - a.lat) * toRad;
    var dLon = (b.lon - a.lon) * toRad;
    var h = Math.sin(dLat / 2) * Math.sin(dLat / 2) +
        Math.cos(a.lat * toRad) * Math.cos(b.lat * toRad) * Math.sin(dLon / 2) * Math.sin(dLon / 2);
    return 2 * EARTH_RADIUS_M * Math.asin(Math.min(1, Math.sqrt(h)));
  }

  // ---- the track ------------------------------------------------------------

  // Draws the track on a canvas of its own. The track only grows, so a new
  // point strokes one segment onto what is already drawn; the whole visible
  // track is drawn again only when the view moves or zooms. Points closer
  // than a pixel to the last drawn one are not drawn at this zoom, and the
  // drawn points are kept in chained runs of at most 1000 with their pixel
  // bounds, so a redraw skips every run outside the view.
  var TrackLayer = L.Layer.extend({
    options: {
      color: '#d7191c',
      weight: 3,
      padding: 0.1,
      runPoints: 1000,
      thinPixels: 1
    },

    initialize: function (options) {
      L.setOptions(this, options);
      this._lats = [];
      this._lngs = [];
      this._resetRuns();
    },

    count: function () { return this._lats.length; },
    drawnCount: function () { return this._drawn; },
    runCount: function () { return this._runs.length; },

    clear: function () {
      this._lats = [];
      this._lngs = [];
      this._resetRuns();
      if (this._map) this._redraw();
    },

    addPoint: function (lat, lng) {
      this._lats.push(lat);
      this._lngs.push(lng);
      if (this._map) this._append(lat, lng, true);
    },

    onAdd: function () {
      var animated = this._map.options.zoomAnimation && L.Browser.any3d;
      this._canvas = L.DomUtil.create('canvas', animated ? 'leaflet-zoom-animated' : '');
      this._canvas.style.pointerEvents = 'none';
      this._ctx = this._canvas.getContext('2d');
      this.getPane().appendChild(this._canvas);
      this._rebuild();
      this._redraw();
    },

    onRemove: function () {
      L.DomUtil.remove(this._canvas);
      this._canvas = null;
      this._ctx = null;
    },

    getEvents: function () {
      var events = { zoomend: this._rebuild, moveend: this._redraw, zoom: this._onZoom };
      if (this._map.options.zoomAnimation && L.Browser.any3d) events.zoomanim = this._onAnimZoom;
      return events;
    },

    _resetRuns: function () {
      this._runs = [];
      this._last = null;
      this._drawn = 0;
    },

    _newRun: function () {
      var run = { xs: [], ys: [], minX: Infinity, minY: Infinity, maxX: -Infinity, maxY: -Infinity };
      this._runs.push(run);
      return run;
    },

    _push: function (run, x, y) {
      run.xs.push(x);
      run.ys.push(y);
      if (x < run.minX) run.minX = x;
      if (x > run.maxX) run.maxX = x;
      if (y < run.minY) run.minY = y;
      if (y > run.maxY) run.maxY = y;
    },

    // Projected points are absolute pixels at the drawn zoom; the canvas
    // gets them relative to its own corner, where numbers stay small.
    _append: function (lat, lng, stroke) {
      var p = this._map.project([lat, lng], this._zoom);
      var last = this._last;
      if (last) {
        var dx = p.x - last.x;
        var dy = p.y - last.y;
        var thin = this.options.thinPixels;
        if (dx * dx + dy * dy < thin * thin) return;
      }
      var run = this._runs[this._runs.length - 1];
      if (!run || run.xs.length >= this.options.runPoints) {
        run = this._newRun();
        // Each run starts where the previous one ended, so the line has no gap.
        if (last) this._push(run, last.x, last.y);
      }
      this._push(run, p.x, p.y);
      this._drawn++;
      if (stroke && last && this._ctx) {
        var ctx = this._ctx;
        ctx.beginPath();
        ctx.moveTo(last.x - this._ox, last.y - this._oy);
        ctx.lineTo(p.x - this._ox, p.y - this._oy);
        ctx.stroke();
      }
      this._last = p;
    },

    _rebuild: function () {
      this._zoom = this._map.getZoom();
      this._resetRuns();
      for (var i = 0; i < this._lats.length; i++) this._append(this._lats[i], this._lngs[i], false);
    },

    _redraw: function () {
      var map = this._map;
      var size = map.getSize();
      var pad = this.options.padding;
      var min = map.containerPointToLayerPoint(size.multiplyBy(-pad)).round();
      var full = size.multiplyBy(1 + 2 * pad).round();
      var ratio = window.devicePixelRatio || 1;
      var canvas = this._canvas;

      L.DomUtil.setPosition(canvas, min);
      canvas.width = Math.round(full.x * ratio);
      canvas.height = Math.round(full.y * ratio);
      canvas.style.width = full.x + 'px';
      canvas.style.height = full.y + 'px';
      var origin = map.getPixelOrigin().add(min);
      this._ox = origin.x;
      this._oy = origin.y;
      this._drawCenter = map.getCenter();
      this._drawZoom = map.getZoom();

      var ctx = this._ctx;
      ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
      ctx.lineWidth = this.options.weight;
      ctx.lineJoin = 'round';
      ctx.lineCap = 'round';
      ctx.strokeStyle = this.options.color;

      var reach = this.options.weight;
      var left = this._ox - reach;
      var top = this._oy - reach;
      var right = this._ox + full.x + reach;
      var bottom = this._oy + full.y + reach;
      for (var r = 0; r < this._runs.length; r++) {
        var run = this._runs[r];
        if (run.xs.length < 2 || run.maxX < left || run.minX > right || run.maxY < top ||
            run.minY > bottom) {
          continue;
        }
        ctx.beginPath();
        ctx.moveTo(run.xs[0] - this._ox, run.ys[0] - this._oy);
        for (var i = 1; i < run.xs.length; i++) ctx.lineTo(run.xs[i] - this._ox, run.ys[i] - this._oy);
        ctx.stroke();
      }
    },

    _onAnimZoom: function (e) { this._updateTransform(e.center, e.zoom); },
    _onZoom: function () { this._updateTransform(this._map.getCenter(), this._map.getZoom()); },

    // Scales the drawn canvas with the zoom animation, as Leaflet's own
    // renderers do, until the redraw at the new zoom.
    _updateTransform: function (center, zoom) {
      if (!this._drawCenter) return;
      var map = this._map;
      var scale = map.getZoomScale(zoom, this._drawZoom);
      var position = L.DomUtil.getPosition(this._canvas);
      var viewHalf = map.getSize().multiplyBy(0.5 + this.options.padding);
      var currentCenter = map.project(this._drawCenter, zoom);
      var destCenter = map.project(center, zoom);
      var offset = destCenter.subtract(currentCenter);
      var topLeft = viewHalf.multiplyBy(-scale).add(position).add(viewHalf).subtract(offset);
      if (L.Browser.any3d) {
        L.DomUtil.setTransform(this._canvas, topLeft, scale);
      } else {
        L.DomUtil.setPosition(this._canvas, topLeft);
      }
    }
  });

  // ---- the offline background ---------------------------------------------

  // Grid steps in degrees, coarse to fine; the finest one whose lines are
  // still this far apart is drawn.
  var GRID_STEPS = [30, 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01, 0.005, 0.002, 0.001, 0.0005,
    0.0002, 0.0001, 0.00005, 0.00002, 0.00001];
  var GRID_MIN_SPACING_PX = 90;

  function gridStep(zoom) {
    var pixelsPerDegree = 256 * Math.pow(2, zoom) / 360;
    var step = GRID_STEPS[0];
    for (var i = 0; i < GRID_STEPS.length; i++) {
      if (GRID_STEPS[i] * pixelsPerDegree < GRID_MIN_SPACING_PX) break;
      step = GRID_STEPS[i];
    }
    return step;
  }

  function gridLabel(value, decimals, positive, negative) {
    var rounded = Number(value.toFixed(decimals));
    if (rounded === 0) return (0).toFixed(decimals) + '°';
    return Math.abs(rounded).toFixed(decimals) + '°' + (rounded > 0 ? positive : negative);
  }

  // The view-sized canvas under the tiles: parallels and meridians with
  // their degrees, drawn again whenever the view moves.
  var OfflineGrid = L.Layer.extend({
    options: { pane: 'geoGrid', line: '#d3ccb8', text: '#7d7562' },

    onAdd: function () {
      this._labels = [];
      this._canvas = L.DomUtil.create('canvas', 'geo-grid');
      this._canvas.style.pointerEvents = 'none';
      this.getPane().appendChild(this._canvas);
      this._draw();
    },

    onRemove: function () {
      L.DomUtil.remove(this._canvas);
      this._canvas = null;
      this._labels = [];
    },

    // The degrees written on the grid at its last drawing, with the point
    // (in view pixels) where each text begins on its baseline.
    labels: function () {
      return this._map ? this._labels.slice() : [];
    },

    _label: function (ctx, text, x, y) {
      ctx.fillText(text, x, y);
      this._labels.push({ text: text, x: x, y: y });
    },

    getEvents: function () {
      return { move: this._draw, zoomstart: this._hide, zoomend: this._draw, resize: this._draw };
    },

    _hide: function () { this._canvas.style.visibility = 'hidden'; },

    _draw: function () {
      var map = this._map;
      var canvas = this._canvas;
      var size = map.getSize();
      var ratio = window.devicePixelRatio || 1;
      canvas.style.visibility = '';
      L.DomUtil.setPosition(canvas, map.containerPointToLayerPoint([0, 0]));
      if (canvas.width !== Math.round(size.x * ratio) || canvas.height !== Math.round(size.y * ratio)) {
        canvas.width = Math.round(size.x * ratio);
        canvas.height = Math.round(size.y * ratio);
        canvas.style.width = size.x + 'px';
        canvas.style.height = size.y + 'px';
      }
      var ctx = canvas.getContext('2d');
      ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
      ctx.clearRect(0, 0, size.x, size.y);
      this._labels = [];

      var bounds = map.getBounds();
      var center = map.getCenter();
      var step = gridStep(map.getZoom());
      var decimals = step >= 1 ? 0 : Math.ceil(-Math.log10(step) - 1e-9);
      ctx.strokeStyle = this.options.line;
      ctx.lineWidth = 1;
      ctx.fillStyle = this.options.text;
      ctx.font = '11px "Liberation Sans", sans-serif';

      var lon;
      var lat;
      var firstLon = Math.ceil(bounds.getWest() / step);
      var lastLon = Math.floor(bounds.getEast() / step);
      for (var i = firstLon; i <= lastLon && i - firstLon < 400; i++) {
        lon = i * step;
        var x = Math.round(map.latLngToContainerPoint([center.lat, lon]).x) + 0.5;
        ctx.beginPath();
        ctx.moveTo(x, 0);
        ctx.lineTo(x, size.y);
        ctx.stroke();
        var wrapped = ((lon + 540) % 360 + 360) % 360 - 180;
        this._label(ctx, gridLabel(wrapped, decimals, 'E', 'W'), x + 3, size.y - 40);
      }
      var south = Math.max(bounds.getSouth(), -85);
      var north = Math.min(bounds.getNorth(), 85);
      var firstLat = Math.ceil(south / step);
      var lastLat = Math.floor(north / step);
      for (var j = firstLat; j <= lastLat && j - firstLat < 400; j++) {
        lat = j * step;
        var y = Math.round(map.latLngToContainerPoint([lat, center.lng]).y) + 0.5;
        ctx.beginPath();
        ctx.moveTo(0, y);
        ctx.lineTo(size.x, y);
        ctx.stroke();
        this._label(ctx, gridLabel(lat, decimals, 'N', 'S'), size.x - 90, y - 3);
      }
    }
  });

  // ---- the map --------------------------------------------------------------

  var map = L.map('map', { center: [35.0, 105.0], zoom: 4, maxZoom: MAX_ZOOM, zoomSnap: 1 });
  map.createPane('geoGrid').style.zIndex = 150;
  L.control.scale({ imperial: false, maxWidth: 160 }).addTo(map);

  var grid = new OfflineGrid();
  var track = new TrackLayer();
  grid.addTo(map);
  track.addTo(map);

  var tileSource = { url: TILE_URL, attribution: TILE_ATTRIBUTION };
  var tiles = null;
  var background = 'pending';
  var tilesLoaded = 0;
  var tileErrors = 0;
  var probeTimer = null;

  function setBackground(kind) {
    if (background === kind) return;
    background = kind;
    if (kind === 'online') {
      if (probeTimer !== null) {
        clearInterval(probeTimer);
        probeTimer = null;
      }
      map.attributionControl.removeAttribution(OFFLINE_ATTRIBUTION);
      map.removeLayer(grid);
    } else {
      map.attributionControl.addAttribution(OFFLINE_ATTRIBUTION);
      if (!map.hasLayer(grid)) grid.addTo(map);
      if (probeTimer === null) probeTimer = setInterval(probeTileServer, ONLINE_PROBE_MS);
    }
  }

  function makeTiles() {
    var layer = L.tileLayer(tileSource.url, { maxZoom: MAX_ZOOM, attribution: tileSource.attribution });
    layer.on('tileload', function () {
      tilesLoaded++;
      setBackground('online');
    });
    layer.on('tileerror', function () {
      tileErrors++;
      if (tilesLoaded > 0) return;
      setBackground('offline');
      // Off the map once the current event is over, so no further tile is asked for.
      setTimeout(function () {
        if (tilesLoaded === 0 && map.hasLayer(layer)) map.removeLayer(layer);
      }, 0);
    });
    return layer;
  }

  // Asks for the tile under the centre; when it arrives the tiles come back.
  function probeTileServer() {
    var zoom = map.getZoom();
    var point = map.project(map.getCenter(), zoom).divideBy(256).floor();
    var image = new Image();
    image.onload = function () {
      if (background !== 'online' && tiles && !map.hasLayer(tiles)) tiles.addTo(map);
    };
    image.src = L.Util.template(tileSource.url, { s: 'a', z: zoom, x: point.x, y: point.y });
  }

  function useTileSource(url, attribution) {
    if (tiles) {
      map.removeLayer(tiles);
      map.attributionControl.removeAttribution(tileSource.attribution);
    }
    tileSource = { url: url, attribution: attribution || '' };
    tilesLoaded = 0;
    tileErrors = 0;
    tiles = makeTiles();
    tiles.addTo(map);
  }

  // ---- controls -------------------------------------------------------------

  var following = true;
  var followButton;
  var FollowControl = L.Control.extend({
    options: { position: 'topleft' },
    onAdd: function () {
      followButton = L.DomUtil.create('button', 'geo-follow');
      followButton.type = 'button';
      followButton.textContent = '跟随车辆';
      followButton.title = '地图随车辆移动；拖动地图即停止跟随';
      L.DomEvent.disableClickPropagation(followButton);
      L.DomEvent.on(followButton, 'click', function () { setFollowing(!following, true); });
      return followButton;
    }
  });

  function setFollowing(on, bringBack) {
    following = on;
    L.DomUtil[on ? 'addClass' : 'removeClass'](followButton, 'geo-on');
    if (on && bringBack && current) map.panTo([current.lat, current.lon]);
  }

  var infoPosition;
  var infoDistance;
  var InfoControl = L.Control.extend({
    options: { position: 'topright' },
    onAdd: function () {
      var panel = L.DomUtil.create('div', 'geo-panel');
      var row = L.DomUtil.create('div', '', panel);
      row.appendChild(document.createTextNode('当前位置 '));
      infoPosition = L.DomUtil.create('span', 'geo-value', row);
      row = L.DomUtil.create('div', '', panel);
      row.appendChild(document.createTextNode('行驶里程 '));
      infoDistance = L.DomUtil.create('span', 'geo-value', row);
      L.DomEvent.disableClickPropagation(panel);
      return panel;
    }
  });

  new FollowControl().addTo(map);
  new InfoControl().addTo(map);
  map.on('dragstart', function () { setFollowing(false); });

  // ---- marking ----------------------------------------------------------------

  var startIcon = L.divIcon({ className: 'geo-marker geo-start', html: '起', iconSize: [22, 22] });
  var currentIcon = L.divIcon({ className: 'geo-marker geo-current', iconSize: [16, 16] });
  var startMarker = L.marker([0, 0], { icon: startIcon, interactive: false, keyboard: false });
  var currentMarker = L.marker([0, 0], {
    icon: currentIcon, interactive: false, keyboard: false, zIndexOffset: 1000
  });

  var start = null;
  var current = null;
  var travelled = 0;
  var ignored = 0;
  var calls = { setStartMarkfun: 0, justmarkfun: 0, clearMapfun: 0 };
  var lastArguments = { setStartMarkfun: null, justmarkfun: null, clearMapfun: null };

  function remember(name, args) {
    calls[name]++;
    lastArguments[name] = Array.prototype.slice.call(args);
  }

  function formatDistance(metres) {
    return metres < 1000 ? metres.toFixed(0) + ' m' : (metres / 1000).toFixed(3) + ' km';
  }

  function showInfo() {
    infoPosition.textContent = current ? current.lon.toFixed(6) + ', ' + current.lat.toFixed(6) : '—';
    infoDistance.textContent = formatDistance(travelled);
  }

  function moveCurrent(position) {
    current = position;
    currentMarker.setLatLng([position.lat, position.lon]);
    if (!map.hasLayer(currentMarker)) currentMarker.addTo(map);
  }

  function keepInView(position) {
    var point = map.latLngToContainerPoint([position.lat, position.lon]);
    var size = map.getSize();
    var mx = size.x * FOLLOW_MARGIN;
    var my = size.y * FOLLOW_MARGIN;
    if (point.x < mx || point.x > size.x - mx || point.y < my || point.y > size.y - my) {
      map.panTo([position.lat, position.lon], { animate: true, duration: 0.4 });
    }
  }

  function forgetTrack() {
    track.clear();
    map.removeLayer(startMarker);
    map.removeLayer(currentMarker);
    start = null;
    current = null;
    travelled = 0;
  }

  // ---- frame timing, for measuring the page -----------------------------------

  // While on, each mark records how long its script took and how long it was
  // until the next frame had been rendered: the frame's animation callbacks
  // come first, and a message posted from them is handled after the frame's
  // rendering work.
  var frameLog = null;
  var afterFrame = new MessageChannel();
  var afterFrameQueue = [];
  afterFrame.port1.onmessage = function () {
    var entry = afterFrameQueue.shift();
    if (entry && frameLog) frameLog.push({ frameMs: performance.now() - entry.t0, scriptMs: entry.scriptMs });
  };

  function noteFrame(t0) {
    if (!frameLog) return;
    var entry = { t0: t0, scriptMs: performance.now() - t0 };
    requestAnimationFrame(function () {
      afterFrameQueue.push(entry);
      afterFrame.port2.postMessage(0);
    });
  }

  // ---- what the program calls -------------------------------------------------

  window.setStartMarkfun = function (longitude, latitude) {
    var t0 = performance.now();
    remember('setStartMarkfun', arguments);
    var position = readPosition(longitude, latitude);
    if (!position) {
      ignored++;
      return false;
    }
    forgetTrack();
    start = position;
    startMarker.setLatLng([position.lat, position.lon]).addTo(map);
    moveCurrent(position);
    track.addPoint(position.lat, position.lon);
    setFollowing(true);
    map.setView([position.lat, position.lon], Math.max(map.getZoom(), START_ZOOM), { animate: false });
    showInfo();
    noteFrame(t0);
    return true;
  };

  window.justmarkfun = function (longitude, latitude) {
    var t0 = performance.now();
    remember('justmarkfun', arguments);
    var position = readPosition(longitude, latitude);
    if (!position) {
      ignored++;
      return false;
    }
    if (current) travelled += distanceMetres(current, position);
    moveCurrent(position);
    track.addPoint(position.lat, position.lon);
    if (following) keepInView(position);
    showInfo();
    noteFrame(t0);
    return true;
  };

  window.clearMapfun = function () {
    remember('clearMapfun', arguments);
    forgetTrack();
    showInfo();
    return true;
  };

  // ---- for tests and tools ----------------------------------------------------

  window.geoState = function () {
    var copy = function (p) { return p ? { lon: p.lon, lat: p.lat } : null; };
    var centre = map.getCenter();
    return {
      points: track.count(),
      drawnPoints: track.drawnCount(),
      runs: track.runCount(),
      start: copy(start),
      last: copy(current),
      distanceMetres: travelled,
      following: following,
      background: background,
      gridLabels: grid.labels(),
      tilesLoaded: tilesLoaded,
      tileErrors: tileErrors,
      ignoredCalls: ignored,
      calls: { setStartMarkfun: calls.setStartMarkfun, justmarkfun: calls.justmarkfun,
        clearMapfun: calls.clearMapfun },
      lastArguments: lastArguments,
      zoom: map.getZoom(),
      centre: { lon: centre.lng, lat: centre.lat },
      positionText: infoPosition.textContent,
      distanceText: infoDistance.textContent
    };
  };

  // Another tile server (a URL template such as Leaflet's), e.g. one of the
  // user's own for offline use.
  window.geoSetTileSource = useTileSource;

  window.geoFrameTimes = {
    start: function () {
      frameLog = [];
      afterFrameQueue = [];
    },
    stop: function () {
      var log = frameLog || [];
      frameLog = null;
      return log;
    }
  };

  setFollowing(true);
  showInfo();
  useTileSource(TILE_URL, TILE_ATTRIBUTION);
})();
