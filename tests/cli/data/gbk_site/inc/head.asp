<html><head>
<meta http-equiv="Content-Type" content="text/html; charset=GB2312">
<link rel="stylesheet" href="/css/site.css">
<title>网站首页</title></head><body>
