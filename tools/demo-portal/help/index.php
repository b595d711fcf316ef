<html>
<head><meta charset="utf-8"><title>帮助中心</title></head>
<body><h1>帮助中心</h1><p>游戏崩溃了？这里有解决办法。</p></body>
</html>
