<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Tessaly web map</title>
<meta name="viewport" content="width=device-width, initial-scale=1">
<link rel="stylesheet" href="../../javascript/leaflet/leaflet.css">
<style>
  html, body { height: 100%; margin: 0; font: 13px "Liberation Sans", Arial, sans-serif; }
  #map { position: absolute; inset: 0; background: #dfe6ee; }
  #message { display: none; position: absolute; z-index: 1000; left: 50%; top: 12px;
             transform: translateX(-50%); max-width: 80%; padding: 8px 12px; background: #fff8e0;
             border: 1px solid #d9b84a; border-radius: 4px; box-shadow: 0 1px 4px rgba(0,0,0,.3); }
</style>
</head>
<body data-shape="none" data-tiles="loading">
<div id="map"></div>
<div id="message" role="alert"></div>
<script src="../../javascript/leaflet/leaflet.js"></script>
<script>
// The web map of Tessaly. The program opens it with
//   ?lat=..&lon=..&z=..&t=..          a point (drawn as a marker)
//   ?lat=..&lon=..&z=..&t=..&dx=..&dy=..  an extent, centre and half spans (a rectangle)
// and without a query for the whole world. t: 1 map, 2 satellite, 3 hybrid.
// What the page shows is also written into the body's data attributes, so
// that a test can read it.
"use strict";

function say(text) {
  const box = document.getElementById("message");
  box.textContent = text;
  box.style.display = "block";
}

function number(params, key) {
  if (!params.has(key)) return null;
  const value = Number(params.get(key));
  return Number.isFinite(value) ? value : null;
}

const params = new URLSearchParams(location.search);
const lat = number(params, "lat"), lon = number(params, "lon");
const dx = number(params, "dx"), dy = number(params, "dy");
const zoomAsked = number(params, "z"), typeAsked = number(params, "t");
const zoom = Number.isInteger(zoomAsked) && zoomAsked >= 0 && zoomAsked <= 19 ? zoomAsked : 10;
const viewType = [1, 2, 3].includes(typeAsked) ? typeAsked : 1;
const body = document.body;

if (typeof L === "undefined") {
  body.dataset.tiles = "failed";
  say("The map library (Leaflet) could not be loaded. Install the libjs-leaflet package.");
} else {
  const map = L.map("map", { worldCopyJump: true });
  const imagery = "https://server.arcgisonline.com/ArcGIS/rest/services/World_Imagery/MapServer/tile/{z}/{y}/{x}";
  const esri = "Tiles &copy; Esri &mdash; Source: Esri, i-cubed, USDA, USGS, AEX, GeoEye, Getmapping, " +
               "Aerogrid, IGN, IGP, UPR-EGP, and the GIS User Community";
  const layers = {
    1: L.tileLayer("https://tile.openstreetmap.org/{z}/{x}/{y}.png", {
         maxZoom: 19,
         attribution: '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a> contributors' }),
    2: L.tileLayer(imagery, { maxZoom: 19, attribution: esri }),
    3: L.layerGroup([
         L.tileLayer(imagery, { maxZoom: 19, attribution: esri }),
         L.tileLayer("https://server.arcgisonline.com/ArcGIS/rest/services/Reference/World_Boundaries_and_Places/MapServer/tile/{z}/{y}/{x}",
                     { maxZoom: 19, attribution: "Boundaries and places &copy; Esri" }) ]),
  };
  L.control.layers({ "Map": layers[1], "Satellite": layers[2], "Hybrid": layers[3] }).addTo(map);
  L.control.scale().addTo(map);

  // Tiles that never arrive: say so plainly instead of showing an empty grey map.
  let loaded = 0, failed = 0;
  function noTiles() {
    body.dataset.tiles = "failed";
    say("The background map could not be loaded: the tile service cannot be reached " +
        "(no network connection?). The place you asked for is drawn all the same.");
  }
  function watch(layer) {
    if (layer.eachLayer) { layer.eachLayer(watch); return; }
    layer.on("tileload", () => { loaded++; body.dataset.tiles = "loaded"; });
    layer.on("tileerror", () => { failed++; if (loaded === 0) noTiles(); });
  }
  Object.values(layers).forEach(watch);
  setTimeout(() => { if (loaded === 0 && failed === 0) noTiles(); }, 10000);

  const known = lat !== null && lon !== null;
  if (!known) {
    map.fitWorld();
  } else {
    map.setView([lat, lon], zoom);
    if (dx !== null && dy !== null) {
      const bounds = [[lat - dy, lon - dx], [lat + dy, lon + dx]];
      L.rectangle(bounds, { color: "#d01010", weight: 2, fillOpacity: 0.08 }).addTo(map);
      body.dataset.shape = "rectangle";
      body.dataset.bounds = bounds.flat().join(",");
    } else {
      L.marker([lat, lon]).addTo(map);
      body.dataset.shape = "marker";
    }
  }
  layers[viewType].addTo(map);
  const centre = map.getCenter();
  body.dataset.centre = centre.lat.toFixed(7) + "," + centre.lng.toFixed(7);
  body.dataset.zoom = String(map.getZoom());
  body.dataset.viewType = String(viewType);
}
</script>
</body>
</html>
