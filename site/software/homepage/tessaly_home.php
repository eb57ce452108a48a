<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Tessaly</title>
<link rel="stylesheet" href="../../style.css">
</head>
<body>
<header><a href="../../index.html">Tessaly</a>
<nav><a href="../../tessaly.html">Tessaly</a><a href="../../software/howto/tessaly.html">Help</a><a href="../../ge_cat.html">Google Earth</a><a href="../../library/utmgrid.html">UTM grid</a></nav>
</header>
<main>
<h1>Welcome to Tessaly</h1>
<p>Version <span class="version" id="version">@TESSALY_VERSION_TEXT@</span></p>
<p>Choose a shapefile on the wizard's Input page; this window then draws it in the symbology
you choose. Right-click the drawing for the zoom and view type of the web map, and double-click
a place to see it on the web map.</p>
<ul>
<li><a href="../howto/tessaly.html">How to use Tessaly</a></li>
<li><a href="../../library/utmgrid.html">Which UTM zone?</a></li>
<li><a href="../../ge_cat.html">Google Earth related</a></li>
</ul>
<p class="note">This page is part of the program and is read from this computer: nothing is sent
anywhere when it opens.</p>
<script>
// The program passes its version in the query; the text above is the installed one.
const version = new URLSearchParams(location.search).get("ver");
if (version) document.getElementById("version").textContent = version;
</script>
</main>
<footer>These pages are installed with Tessaly and read from this computer.
<a href="../../software/share/disclaimer.html">Disclaimer</a></footer>
</body>
</html>
